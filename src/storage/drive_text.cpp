#include "storage/drive_text.h"

#include <stdio.h>

#include "report/text.h"
#include "report/words.h"

const char *drive_type_text(unsigned type) {
  switch (type) {
    case 2: return "Removable";
    case 3: return kDriveHard;
    case 4: return "Network Drive";
    case 5: return "Optical Drive";
    case 6: return "RAM Disk";
    default: return "Unknown";
  }
}

// A space figure in KB: the byte count shifted, printed whole in 64 bits.
static char *kb_line(char *out, const char *label, uint64_t bytes) {
  char digits[21];
  format_u64(digits, bytes >> 10);
  return out + sprintf(out, "%-22s: %s KB\n", label, digits);
}

// Under a per-user disk quota the total is the quota and the free figure the
// whole disk's, which can be larger: the user's own use is then the quota less
// what it leaves. Never a wrapped difference.
static uint64_t used_bytes(const DriveFigures *drive) {
  if (drive->free_bytes <= drive->total_bytes) return drive->total_bytes - drive->free_bytes;
  if (drive->available_bytes <= drive->total_bytes) return drive->total_bytes - drive->available_bytes;
  return 0;
}

void format_drive_block(const DriveFigures *drive, char *buffer) {
  const char *type_text = drive_type_text(drive->type);
  char *out = buffer;
  out += sprintf(out, "\n=======\n%s%c\n=======\n\n", kDriveTitle, drive->letter);
  if (drive->serial == 0) {
    sprintf(out, "%s%s)\n\n", kDriveNoMedia, type_text);
    return;
  }
  out += sprintf(out, "%-22s: %s\n", kDriveType, type_text);
  out += sprintf(out, "%-22s: %s\n", kDriveLabel, drive->label[0] ? drive->label : kDriveNoLabel);
  out += sprintf(out, "%-22s: %X\n", kDriveSerial, (unsigned)drive->serial);
  out += sprintf(out, "%-22s: %s\n", kDriveFileSystem, drive->file_system);
  if (!drive->has_space) return;

  // Cluster counts are unsigned: 8 TiB of 4 KiB clusters passes 2^31.
  out += sprintf(out, "\nClusters\n--------\n\n");
  out += sprintf(out, "%-22s: %u\n", kDriveSectors, (unsigned)drive->sectors_per_cluster);
  out += sprintf(out, "%-22s: %u\n", kDriveBytesPerSector, (unsigned)drive->bytes_per_sector);
  out += sprintf(out, "%-22s: %u\n", kDriveFreeClusters, (unsigned)drive->free_clusters);
  out += sprintf(out, "%-22s: %u\n", kDriveUsedClusters, (unsigned)(drive->total_clusters - drive->free_clusters));
  out += sprintf(out, "%-22s: %u\n", kDriveTotalClusters, (unsigned)drive->total_clusters);

  // The used figure divides the byte difference, not the difference of the
  // two rounded figures.
  out += sprintf(out, "\nStorage Space\n-------------\n\n");
  out = kb_line(out, kDriveSpaceFree, drive->free_bytes);
  out = kb_line(out, kDriveSpaceUsed, used_bytes(drive));
  out = kb_line(out, kDriveTotalSpace, drive->total_bytes);
  sprintf(out, "\n\n");
}
