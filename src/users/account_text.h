// The text of one account's block, over plain values.
#pragma once

#include <stddef.h>
#include <stdint.h>

// Account names are converted to the ANSI code page in pieces of at most
// this many UTF-16 units, so a name of any length prints whole.
static const size_t kNamePieceUnits = 256;
// A UTF-16 unit takes at most 3 bytes in any ANSI code page (UTF-8 is the
// widest); a surrogate pair takes 4.
static const int kNamePieceBytes = 3 * (int)kNamePieceUnits + 1;

// The length in units of the next piece of a name with remaining units left:
// kNamePieceUnits at most, and never ending between the two halves of a
// surrogate pair.
template <typename Unit>
size_t name_piece_length(const Unit *name, size_t remaining) {
  if (remaining <= kNamePieceUnits) return remaining;
  size_t length = kNamePieceUnits;
  unsigned last = name[length - 1];
  if (last >= 0xD800 && last <= 0xDBFF) --length;
  return length;
}

// The fields of a USER_INFO_3 record that the block shows after the name.
struct AccountFigures {
  uint32_t privilege;
  uint32_t flags;
  uint32_t password_age;
  uint32_t bad_password_count;
  uint32_t logon_count;
  const char *last_logon;  // ctime's text, with its line feed; NULL: never
  uint32_t password_expired;
};

// Room for the block after the name.
static const int kAccountBlockSize = 1024;

// Writes the block from the privilege after the name to its closing empty
// lines into buffer (kAccountBlockSize bytes).
void format_account_block(char *buffer, const AccountFigures *account);
