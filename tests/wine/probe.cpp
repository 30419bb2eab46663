// Asks Wine directly what the report tests compare against: one fact per
// line, "key=value".
//   probe version | computer | drive LETTER
#include <windows.h>
#include <stdio.h>
#include <string.h>

static int probe_version(void) {
  OSVERSIONINFOEXA v;
  memset(&v, 0, sizeof v);
  v.dwOSVersionInfoSize = sizeof(OSVERSIONINFOEXA);
  int ex = GetVersionExA((OSVERSIONINFOA *)&v) != 0;
  if (!ex) {
    v.dwOSVersionInfoSize = sizeof(OSVERSIONINFOA);
    if (!GetVersionExA((OSVERSIONINFOA *)&v)) return 1;
  }
  printf("ex=%d\nplatform=%lu\nmajor=%lu\nminor=%lu\nbuild=%lu\ncsd=%s\n", ex, v.dwPlatformId,
         v.dwMajorVersion, v.dwMinorVersion, v.dwBuildNumber & 0xFFFF, v.szCSDVersion);
  printf("spmajor=%u\nspminor=%u\nsuite=%u\nproduct=%u\n", v.wServicePackMajor, v.wServicePackMinor,
         v.wSuiteMask, v.wProductType);
  return 0;
}

static int probe_computer(void) {
  char name[260];
  DWORD size = sizeof name;
  if (!GetComputerNameA(name, &size)) return 1;
  printf("computer=%s\n", name);
  return 0;
}

static int probe_drive(char letter) {
  char root[4] = {letter, ':', '\\', 0};
  printf("type=%u\n", GetDriveTypeA(root));
  char label[128] = "", fs[128] = "";
  DWORD serial = 0, component = 0, flags = 0;
  if (GetVolumeInformationA(root, label, 127, &serial, &component, &flags, fs, 127))
    printf("label=%s\nserial=%lX\nfs=%s\n", label, serial, fs);
  ULARGE_INTEGER available, total, free_bytes;
  if (GetDiskFreeSpaceExA(root, &available, &total, &free_bytes)) {
    // Whole 64-bit figures, written without a 64-bit printf conversion.
    printf("total_kb_hi=%lu\ntotal_kb_lo=%lu\n", (DWORD)((total.QuadPart >> 10) >> 32),
           (DWORD)(total.QuadPart >> 10));
    printf("free_kb_hi=%lu\nfree_kb_lo=%lu\n", (DWORD)((free_bytes.QuadPart >> 10) >> 32),
           (DWORD)(free_bytes.QuadPart >> 10));
    ULONGLONG used = (total.QuadPart - free_bytes.QuadPart) >> 10;
    printf("used_kb_hi=%lu\nused_kb_lo=%lu\n", (DWORD)(used >> 32), (DWORD)used);
  }
  DWORD spc = 0, bps = 0, free_clusters = 0, total_clusters = 0;
  if (GetDiskFreeSpaceA(root, &spc, &bps, &free_clusters, &total_clusters))
    printf("spc=%lu\nbps=%lu\nfree_clusters=%lu\ntotal_clusters=%lu\n", spc, bps, free_clusters,
           total_clusters);
  return 0;
}

int main(int argc, char **argv) {
  if (argc >= 2 && !strcmp(argv[1], "version")) return probe_version();
  if (argc >= 2 && !strcmp(argv[1], "computer")) return probe_computer();
  if (argc >= 3 && !strcmp(argv[1], "drive")) return probe_drive(argv[2][0]);
  fprintf(stderr, "usage: probe version | computer | drive LETTER\n");
  return 2;
}
