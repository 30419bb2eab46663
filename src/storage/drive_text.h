// The text of one drive's block, from the figures the drive queries gave.
#pragma once

#include <stdint.h>

struct DriveFigures {
  char letter;
  unsigned type;  // GetDriveTypeA's code
  const char *label;
  uint32_t serial;  // 0: no volume could be read
  const char *file_system;
  int has_space;  // the space query succeeded
  uint64_t total_bytes;
  uint64_t free_bytes;
  uint64_t available_bytes;  // to the caller: under a disk quota, what the quota leaves
  uint32_t sectors_per_cluster;
  uint32_t bytes_per_sector;
  uint32_t free_clusters;
  uint32_t total_clusters;
};

// Room for the longest block: two 127-character texts and the fixed lines.
static const int kDriveBlockSize = 1024;

// The text of a drive type code; "Unknown" for codes without a name of their own.
const char *drive_type_text(unsigned type);

// Writes the block of one drive (it starts with its empty line) into buffer
// (kDriveBlockSize bytes).
void format_drive_block(const DriveFigures *drive, char *buffer);
