// CSV as RFC 4180 writes it: fields separated by commas, rows ended by CR LF.
#pragma once

#include <stddef.h>
#include <stdio.h>

// Writes one field of length bytes, after a comma unless it is the row's
// first; quoted, with its quotes doubled, when it holds a comma, a quote or a
// line end. The bytes are otherwise written as they are.
void csv_field(FILE *out, const char *text, size_t length, bool first);

// Writes a field from a NUL-terminated text.
void csv_text(FILE *out, const char *text, bool first);

// Ends the row.
void csv_end_row(FILE *out);
