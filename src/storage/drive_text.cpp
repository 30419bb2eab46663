#include "storage/drive_text.h"

#include <stdio.h>

#include "report/text.h"

const char *drive_type_text(unsigned type) {
  switch (type) {
    case 2: return "Removable";
    case 3: return "Hard Drive";
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
  return out + sprintf(out, "%s%s KB\n", label, digits);
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
  out += sprintf(out, "\n=======\nDrive %c\n=======\n\n", drive->letter);
  if (drive->serial == 0) {
    sprintf(out, "No media present (%s)\n\n", type_text);
    return;
  }
  out += sprintf(out, "Type                  : %s\n", type_text);
  out += sprintf(out, "Volume Label          : %s\n", drive->label[0] ? drive->label : "(No Label)");
  out += sprintf(out, "Volume Serial         : %X\n", (unsigned)drive->serial);
  out += sprintf(out, "File System           : %s\n", drive->file_system);
  if (!drive->has_space) return;

  // Cluster counts are unsigned: 8 TiB of 4 KiB clusters passes 2^31.
  out += sprintf(out, "\nClusters\n--------\n\n");
  out += sprintf(out, "Sectors per cluster   : %u\n", (unsigned)drive->sectors_per_cluster);
  out += sprintf(out, "Bytes per sector      : %u\n", (unsigned)drive->bytes_per_sector);
  out += sprintf(out, "Free clusters         : %u\n", (unsigned)drive->free_clusters);
  out += sprintf(out, "Used clusters         : %u\n", (unsigned)(drive->total_clusters - drive->free_clusters));
  out += sprintf(out, "Total clusters        : %u\n", (unsigned)drive->total_clusters);

  // The used figure divides the byte difference, not the difference of the
  // two rounded figures.
  out += sprintf(out, "\nStorage Space\n-------------\n\n");
  out = kb_line(out, "Space free            : ", drive->free_bytes);
  out = kb_line(out, "Space used            : ", used_bytes(drive));
  out = kb_line(out, "Total space           : ", drive->total_bytes);
  sprintf(out, "\n\n");
}
