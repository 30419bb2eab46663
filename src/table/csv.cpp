#include "table/csv.h"

#include <string.h>

void csv_field(FILE *out, const char *text, size_t length, bool first) {
  if (!first) putc(',', out);
  bool quoted = false;
  for (size_t i = 0; i < length && !quoted; ++i) {
    char c = text[i];
    quoted = c == ',' || c == '"' || c == '\r' || c == '\n';
  }
  if (!quoted) {
    fwrite(text, 1, length, out);
    return;
  }
  putc('"', out);
  // Each run up to and including a quote, then that quote again.
  size_t start = 0;
  for (size_t i = 0; i < length; ++i) {
    if (text[i] != '"') continue;
    fwrite(text + start, 1, i + 1 - start, out);
    putc('"', out);
    start = i + 1;
  }
  fwrite(text + start, 1, length - start, out);
  putc('"', out);
}

void csv_text(FILE *out, const char *text, bool first) { csv_field(out, text, strlen(text), first); }

void csv_end_row(FILE *out) { fwrite("\r\n", 1, 2, out); }
