// Simulated drive and volume queries.
#include "sim.h"

#include <algorithm>

using namespace sim;

// The drive a root path names, or nullptr: only "X:\" with a letter A to Z.
static Drive *drive_of(LPCSTR root) {
  if (!root || strlen(root) != 3 || root[1] != ':' || root[2] != '\\') return nullptr;
  char letter = root[0];
  if (letter >= 'a' && letter <= 'z') letter = static_cast<char>(letter - 'a' + 'A');
  if (letter < 'A' || letter > 'Z') return nullptr;
  return &machine().drives[letter - 'A'];
}

// A query of a drive without a medium shows the critical-error dialog unless
// the error mode switches it off; the simulation counts such dialogs.
static int g_dialogs = 0;

namespace sim {
int critical_error_dialogs() { return g_dialogs; }
void reset_dialogs() { g_dialogs = 0; }
}  // namespace sim

static void media_missing(const Drive &drive) {
  if ((drive.type == DRIVE_REMOVABLE || drive.type == DRIVE_CDROM) && !(error_mode() & SEM_FAILCRITICALERRORS))
    ++g_dialogs;
  SetLastError(ERROR_NOT_READY);
}

UINT WINAPI GetDriveTypeA(LPCSTR root) {
  record("GetDriveTypeA", quote(root));
  Drive *drive = drive_of(root);
  if (!drive) return DRIVE_NO_ROOT_DIR;
  return drive->type;
}

BOOL WINAPI GetVolumeInformationA(LPCSTR root, LPSTR label, DWORD label_size, LPDWORD serial,
                                  LPDWORD max_component, LPDWORD fs_flags, LPSTR fs_name,
                                  DWORD fs_name_size) {
  record("GetVolumeInformationA",
         quote(root) + ", " + std::to_string(label_size) + ", " + std::to_string(fs_name_size));
  Drive *drive = drive_of(root);
  if (!drive || drive->type == DRIVE_NO_ROOT_DIR) {
    SetLastError(ERROR_PATH_NOT_FOUND);
    return FALSE;
  }
  if (!drive->mounted || should_fail("GetVolumeInformationA")) {
    media_missing(*drive);
    return FALSE;
  }
  bool cut = machine().unterminated_texts;
  if (!cut && ((label && drive->label.size() + 1 > label_size) ||
               (fs_name && drive->file_system.size() + 1 > fs_name_size))) {
    SetLastError(ERROR_BAD_LENGTH);
    return FALSE;
  }
  if (label) memcpy(label, drive->label.c_str(), std::min<size_t>(drive->label.size() + 1, label_size));
  if (fs_name)
    memcpy(fs_name, drive->file_system.c_str(), std::min<size_t>(drive->file_system.size() + 1, fs_name_size));
  if (serial) *serial = drive->serial;
  if (max_component) *max_component = 255;
  if (fs_flags) *fs_flags = 0x3;
  return TRUE;
}

// The drive a space query of root may answer, or NULL with the query's error
// set: no such drive, no medium, or the query made to fail (ok_flag clear).
static const Drive *space_query_drive(LPCSTR root, const char *name, bool Drive::*ok_flag) {
  Drive *drive = drive_of(root);
  if (!drive || drive->type == DRIVE_NO_ROOT_DIR) {
    SetLastError(ERROR_PATH_NOT_FOUND);
    return nullptr;
  }
  if (!drive->mounted) {
    media_missing(*drive);
    return nullptr;
  }
  if (!(drive->*ok_flag) || should_fail(name)) {
    SetLastError(ERROR_ACCESS_DENIED);
    return nullptr;
  }
  return drive;
}

BOOL WINAPI sim::dll::GetDiskFreeSpaceExA(LPCSTR root, PULARGE_INTEGER available, PULARGE_INTEGER total,
                                          PULARGE_INTEGER free_bytes) {
  record("GetDiskFreeSpaceExA", quote(root));
  const Drive *drive = space_query_drive(root, "GetDiskFreeSpaceExA", &Drive::space_ok);
  if (!drive) return FALSE;
  if (available) available->QuadPart = drive->available_bytes;
  if (total) total->QuadPart = drive->total_bytes;
  if (free_bytes) free_bytes->QuadPart = drive->free_bytes;
  return TRUE;
}

BOOL WINAPI GetDiskFreeSpaceA(LPCSTR root, LPDWORD sectors_per_cluster, LPDWORD bytes_per_sector,
                              LPDWORD free_clusters, LPDWORD total_clusters) {
  record("GetDiskFreeSpaceA", quote(root));
  const Drive *drive = space_query_drive(root, "GetDiskFreeSpaceA", &Drive::clusters_ok);
  if (!drive) return FALSE;
  *sectors_per_cluster = drive->sectors_per_cluster;
  *bytes_per_sector = drive->bytes_per_sector;
  *free_clusters = drive->free_clusters;
  *total_clusters = drive->total_clusters;
  return TRUE;
}
