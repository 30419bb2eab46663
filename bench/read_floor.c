/* The floor of bench/table.sh: each file named on the command line read once, whole, in 64 KB pieces, and nothing
   done with the bytes but a sum that the compiler cannot drop. */
#include <stdio.h>

int main(int argc, char **argv) {
  static char chunk[65536];
  unsigned long sum = 0;
  for (int i = 1; i < argc; ++i) {
    FILE *file = fopen(argv[i], "rb");
    if (!file) continue;
    size_t count;
    while ((count = fread(chunk, 1, sizeof chunk, file)) > 0) sum += (unsigned char)chunk[count - 1];
    fclose(file);
  }
  printf("%lu\n", sum);
  return 0;
}
