#include "storage/storage.h"

#include "report/report.h"
#include "report/words.h"
#include "storage/drive_text.h"

static void report_drive(char letter) {
  const char root[] = {letter, ':', '\\', '\0'};

  DriveFigures drive;
  memset(&drive, 0, sizeof drive);
  drive.letter = letter;
  drive.type = GetDriveTypeA(root);
  if (drive.type == DRIVE_NO_ROOT_DIR) return;

  DWORD serial = 0;
  DWORD max_component = 0;
  DWORD fs_flags = 0;
  char label[128];
  char file_system[128];
  memset(label, 0, sizeof label);
  memset(file_system, 0, sizeof file_system);
  // A failed query is recognised by the serial number staying 0.
  GetVolumeInformationA(root, label, 127, &serial, &max_component, &fs_flags, file_system, 127);
  drive.label = label;
  drive.serial = serial;
  drive.file_system = file_system;

  if (serial != 0) {
    ULARGE_INTEGER available, total_bytes, free_bytes;
    drive.has_space = GetDiskFreeSpaceExA(root, &available, &total_bytes, &free_bytes);
    if (drive.has_space) {
      drive.total_bytes = total_bytes.QuadPart;
      drive.free_bytes = free_bytes.QuadPart;
      drive.available_bytes = available.QuadPart;
      // A cluster query that fails after the space query succeeded shows zeros.
      DWORD figures[4] = {0, 0, 0, 0};
      if (GetDiskFreeSpaceA(root, &figures[0], &figures[1], &figures[2], &figures[3])) {
        drive.sectors_per_cluster = figures[0];
        drive.bytes_per_sector = figures[1];
        drive.free_clusters = figures[2];
        drive.total_clusters = figures[3];
      }
    }
  }

  char block[kDriveBlockSize];
  format_drive_block(&drive, block);
  printf("%s", block);
}

int report_drives(void) {
  print_heading(kTitleDrives);
  // An empty floppy or optical drive would otherwise stop the run with a
  // "no disk in drive" dialog.
  UINT previous_mode = SetErrorMode(SEM_FAILCRITICALERRORS);
  for (int index = 0; index < 26; ++index) report_drive((char)('A' + index));
  SetErrorMode(previous_mode);
  return 0;
}
