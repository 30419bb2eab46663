#include <gtest/gtest.h>

#include "sim_fixture.h"
#include "storage/storage.h"

class DrivesTest : public SimTest {
 protected:
  sim::Drive &drive(char letter) { return machine().drives[letter - 'A']; }

  sim::Drive &mounted(char letter, UINT type, const std::string &label, DWORD serial) {
    sim::Drive &d = drive(letter);
    d.type = type;
    d.mounted = true;
    d.label = label;
    d.serial = serial;
    d.file_system = "NTFS";
    return d;
  }

  static std::string section() { return sim::run(report_drives).out; }

  static std::string block_head(char letter) {
    return "\n=======\nDrive " + std::string(1, letter) + "\n=======\n\n";
  }
};

TEST_F(DrivesTest, NoDrivesGivesTheHeadingAlone) {
  EXPECT_EQ(heading("Drive Information"), section());
  // Every letter is asked, with its root path, in order.
  std::vector<sim::Call> asked = sim::calls_named("GetDriveTypeA");
  ASSERT_EQ(26u, asked.size());
  for (int i = 0; i < 26; ++i) EXPECT_EQ("\"" + std::string(1, (char)('A' + i)) + ":\\\"", asked[i].args);
  EXPECT_EQ(0u, sim::count_calls("GetVolumeInformationA"));
}

TEST_F(DrivesTest, FullBlockAndEmptyRemovableDrive) {
  drive('A').type = DRIVE_REMOVABLE;
  sim::Drive &c = mounted('C', DRIVE_FIXED, "SYSTEM", 0x0012ABCD);
  c.sectors_per_cluster = 8;
  c.bytes_per_sector = 512;
  c.free_clusters = 1000;
  c.total_clusters = 2500;
  c.total_bytes = 3072;
  c.free_bytes = 1536;
  c.available_bytes = 512;

  std::string expected = heading("Drive Information") + block_head('A') + "No media present (Removable)\n\n" +
                         block_head('C') +
                         "Type                  : Hard Drive\n"
                         "Volume Label          : SYSTEM\n"
                         "Volume Serial         : 12ABCD\n"
                         "File System           : NTFS\n"
                         "\nClusters\n--------\n\n"
                         "Sectors per cluster   : 8\n"
                         "Bytes per sector      : 512\n"
                         "Free clusters         : 1000\n"
                         "Used clusters         : 1500\n"
                         "Total clusters        : 2500\n"
                         "\nStorage Space\n-------------\n\n"
                         "Space free            : 1 KB\n"
                         "Space used            : 1 KB\n"
                         "Total space           : 3 KB\n"
                         "\n\n";
  EXPECT_EQ(expected, section());

  // The empty floppy raised no dialog: the error mode was set before the
  // first query.
  EXPECT_EQ(0, sim::critical_error_dialogs());
  std::vector<sim::Call> volume = sim::calls_named("GetVolumeInformationA");
  ASSERT_EQ(2u, volume.size());
  EXPECT_EQ("\"A:\\\", 127, 127", volume[0].args);
  EXPECT_EQ("\"C:\\\", 127, 127", volume[1].args);
  // The space of a drive without a medium is not asked for.
  EXPECT_EQ(1u, sim::count_calls("GetDiskFreeSpaceExA"));
}

TEST_F(DrivesTest, TypeTextsAndMissingLabel) {
  struct Case {
    UINT type;
    const char *text;
  } cases[] = {{DRIVE_REMOVABLE, "Removable"}, {DRIVE_FIXED, "Hard Drive"}, {DRIVE_REMOTE, "Network Drive"},
               {DRIVE_CDROM, "Optical Drive"}, {DRIVE_RAMDISK, "RAM Disk"}, {DRIVE_UNKNOWN, "Unknown"},
               {7, "Unknown"}};
  for (const Case &c : cases) {
    sim::reset();
    mounted('E', c.type, "", 1).space_ok = false;
    drive('F').type = c.type;  // the same type without a medium
    std::string expected = heading("Drive Information") + block_head('E') + "Type                  : " + c.text +
                           "\nVolume Label          : (No Label)\nVolume Serial         : 1\n"
                           "File System           : NTFS\n" +
                           block_head('F') + "No media present (" + c.text + ")\n\n";
    EXPECT_EQ(expected, section()) << c.type;
  }
}

TEST_F(DrivesTest, MountedVolumeWithSerialZeroCountsAsNoMedia) {
  mounted('D', DRIVE_FIXED, "DATA", 0);
  EXPECT_EQ(heading("Drive Information") + block_head('D') + "No media present (Hard Drive)\n\n", section());
}

TEST_F(DrivesTest, FailedSpaceQueryEndsTheBlockAfterTheFileSystem) {
  mounted('C', DRIVE_FIXED, "A", 0xFFFFFFFF).space_ok = false;
  mounted('D', DRIVE_REMOTE, "B", 0x10).space_ok = false;
  std::string expected = heading("Drive Information") + block_head('C') +
                         "Type                  : Hard Drive\nVolume Label          : A\n"
                         "Volume Serial         : FFFFFFFF\nFile System           : NTFS\n" +
                         block_head('D') +
                         "Type                  : Network Drive\nVolume Label          : B\n"
                         "Volume Serial         : 10\nFile System           : NTFS\n";
  EXPECT_EQ(expected, section());
  EXPECT_EQ(0u, sim::count_calls("GetDiskFreeSpaceA"));
}

TEST_F(DrivesTest, LargeVolumesPrintInFull) {
  // 16 TiB of 4 KiB clusters: cluster counts past 2^31, KB figures past 2^32.
  sim::Drive &d = mounted('Z', DRIVE_FIXED, "BIG", 0xCAFE);
  d.sectors_per_cluster = 8;
  d.bytes_per_sector = 512;
  d.total_clusters = 0xFFFFFFFFu;
  d.free_clusters = 0x80000000u;
  d.total_bytes = 1ull << 44;
  d.free_bytes = (1ull << 42) + 1023;
  std::string out = section();
  EXPECT_NE(std::string::npos, out.find("Free clusters         : 2147483648\n"));
  EXPECT_NE(std::string::npos, out.find("Used clusters         : 2147483647\n"));
  EXPECT_NE(std::string::npos, out.find("Total clusters        : 4294967295\n"));
  EXPECT_NE(std::string::npos, out.find("Space free            : 4294967296 KB\n"));
  // The used figure divides the byte difference: 3 * 2^42 - 1023 bytes.
  EXPECT_NE(std::string::npos, out.find("Space used            : 12884901887 KB\n"));
  EXPECT_NE(std::string::npos, out.find("Total space           : 17179869184 KB\n"));
}

TEST_F(DrivesTest, FailedClusterQueryShowsZeros) {
  sim::Drive &d = mounted('C', DRIVE_FIXED, "SYS", 7);
  d.clusters_ok = false;
  d.sectors_per_cluster = 8;
  d.total_clusters = 99;
  d.total_bytes = 2048;
  std::string out = section();
  EXPECT_NE(std::string::npos,
            out.find("Sectors per cluster   : 0\nBytes per sector      : 0\nFree clusters         : 0\n"
                     "Used clusters         : 0\nTotal clusters        : 0\n"));
  EXPECT_NE(std::string::npos, out.find("Total space           : 2 KB\n"));
}

TEST_F(DrivesTest, RepeatedSectionIsWholeEachTime) {
  drive('A').type = DRIVE_REMOVABLE;
  std::string once = heading("Drive Information") + block_head('A') + "No media present (Removable)\n\n";
  machine().ticks = {0, 7};
  sim::Result r = sim::run_program({"-SS"});
  EXPECT_EQ(kBanner + once + once + "\nTotal time taken: 7 ms\n", r.out);
}
