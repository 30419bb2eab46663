// CSV as RFC 4180 writes it: fields separated by commas, rows ended by CR LF.
#pragma once

#include <stddef.h>

#include "table/report_reader.h"

// Appends one field of length bytes to out, after a comma unless it is the
// row's first; quoted, with its quotes doubled, when it holds a comma, a
// quote or a line end. The bytes are otherwise written as they are. False
// when memory ran out.
bool csv_field(Text *out, const char *text, size_t length, bool first);

// Appends a field from a NUL-terminated text.
bool csv_text(Text *out, const char *text, bool first);

// Ends the row.
bool csv_end_row(Text *out);
