#include "table/csv.h"

#include <string.h>

bool csv_field(Text *out, const char *text, size_t length, bool first) {
  bool written = first || text_append(out, ",", 1);
  bool quoted = false;
  for (size_t i = 0; i < length && !quoted; ++i) {
    char c = text[i];
    quoted = c == ',' || c == '"' || c == '\r' || c == '\n';
  }
  if (!quoted) return text_append(out, text, length) && written;
  written = text_append(out, "\"", 1) && written;
  // Each run up to and including a quote, then that quote again.
  size_t start = 0;
  for (size_t i = 0; i < length; ++i) {
    if (text[i] != '"') continue;
    written = text_append(out, text + start, i + 1 - start) && text_append(out, "\"", 1) && written;
    start = i + 1;
  }
  return text_append(out, text + start, length - start) && text_append(out, "\"", 1) && written;
}

bool csv_text(Text *out, const char *text, bool first) { return csv_field(out, text, strlen(text), first); }

bool csv_end_row(Text *out) { return text_append(out, "\r\n", 2); }
