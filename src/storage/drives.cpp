#include "storage/storage.h"

#include "report/report.h"

static const char *drive_type_text(UINT type) {
  switch (type) {
    case DRIVE_REMOVABLE: return "Removable";
    case DRIVE_FIXED: return "Hard Drive";
    case DRIVE_REMOTE: return "Network Drive";
    case DRIVE_CDROM: return "Optical Drive";
    case DRIVE_RAMDISK: return "RAM Disk";
    default: return "Unknown";
  }
}

static void print_kb_line(const char *label, ULONGLONG bytes) {
  char digits[21];
  format_u64(digits, bytes >> 10);
  printf("%s%s KB\n", label, digits);
}

static void report_drive(char letter) {
  char root[8];
  wsprintfA(root, "%c", letter);
  strcat(root, ":\\");

  UINT type = GetDriveTypeA(root);
  if (type == DRIVE_NO_ROOT_DIR) return;
  printf("\n");

  DWORD serial = 0;
  DWORD max_component = 0;
  DWORD fs_flags = 0;
  char label[128];
  char file_system[128];
  memset(label, 0, sizeof label);
  memset(file_system, 0, sizeof file_system);
  // A failed query is recognised by the serial number staying 0.
  GetVolumeInformationA(root, label, 127, &serial, &max_component, &fs_flags, file_system, 127);

  const char *type_text = drive_type_text(type);
  const char *label_text = label[0] ? label : "(No Label)";

  printf("=======\n");
  printf("Drive %c\n", letter);
  printf("=======\n\n");

  if (serial == 0) {
    printf("No media present (%s)\n\n", type_text);
    return;
  }

  printf("Type                  : %s\n", type_text);
  printf("Volume Label          : %s\n", label_text);
  printf("Volume Serial         : %X\n", (unsigned)serial);
  printf("File System           : %s\n", file_system);

  ULARGE_INTEGER available, total_bytes, free_bytes;
  if (!GetDiskFreeSpaceExA(root, &available, &total_bytes, &free_bytes)) return;

  // A cluster query that fails after the space query succeeded shows zeros.
  DWORD sectors_per_cluster = 0;
  DWORD bytes_per_sector = 0;
  DWORD free_clusters = 0;
  DWORD total_clusters = 0;
  if (!GetDiskFreeSpaceA(root, &sectors_per_cluster, &bytes_per_sector, &free_clusters, &total_clusters)) {
    sectors_per_cluster = bytes_per_sector = free_clusters = total_clusters = 0;
  }

  // Cluster counts are unsigned: 8 TiB of 4 KiB clusters passes 2^31.
  printf("\nClusters\n");
  printf("--------\n\n");
  printf("Sectors per cluster   : %u\n", (unsigned)sectors_per_cluster);
  printf("Bytes per sector      : %u\n", (unsigned)bytes_per_sector);
  printf("Free clusters         : %u\n", (unsigned)free_clusters);
  printf("Used clusters         : %u\n", (unsigned)(total_clusters - free_clusters));
  printf("Total clusters        : %u\n", (unsigned)total_clusters);

  printf("\nStorage Space\n");
  printf("-------------\n\n");
  print_kb_line("Space free            : ", free_bytes.QuadPart);
  print_kb_line("Space used            : ", total_bytes.QuadPart - free_bytes.QuadPart);
  print_kb_line("Total space           : ", total_bytes.QuadPart);
  printf("\n\n");
}

int report_drives(void) {
  print_heading("Drive Information");
  // An empty floppy or optical drive would otherwise stop the run with a
  // "no disk in drive" dialog.
  UINT previous_mode = SetErrorMode(SEM_FAILCRITICALERRORS);
  for (int index = 0; index < 26; ++index) report_drive((char)('A' + index));
  SetErrorMode(previous_mode);
  return 0;
}
