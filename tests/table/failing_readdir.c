// readdir that fails after three entries, as a share that drops mid-listing: loaded by LD_PRELOAD in bad_inputs.sh.
#define _GNU_SOURCE
#include <dirent.h>
#include <dlfcn.h>
#include <errno.h>
#include <stddef.h>

struct dirent *readdir(DIR *listing) {
  static struct dirent *(*real)(DIR *);
  static int entries;
  if (!real) real = (struct dirent * (*)(DIR *)) dlsym(RTLD_NEXT, "readdir");
  if (++entries > 3) {
    errno = EIO;
    return NULL;
  }
  return real(listing);
}
