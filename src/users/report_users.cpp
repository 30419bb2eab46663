#include "users/users.h"

#include "report/report.h"
#include "report/words.h"
#include "users/account_text.h"

static const DWORD kUserInfoLevel = 3;
static const DWORD kEveryAccountKind = 0;  // no FILTER_* bit: every kind listed
// About 1 KB per request: a few accounts at a time, one buffer held at once.
static const DWORD kPreferredLength = 1024;
// A request brings a few accounts: far more requests than any account database needs.
static const DWORD kMaxRequests = 1000000;

// Prints name in the ANSI code page, whole, one piece at a time. Characters
// the code page lacks become its default character, "?". No default
// character is passed: a UTF-8 ANSI code page refuses one.
static void print_name(LPCWSTR name) {
  size_t remaining = 0;
  while (name && name[remaining]) ++remaining;
  while (remaining > 0) {
    size_t length = name_piece_length(name, remaining);
    char piece[kNamePieceBytes];
    int written = WideCharToMultiByte(CP_ACP, 0, name, (int)length, piece, kNamePieceBytes - 1, NULL, NULL);
    piece[written] = '\0';
    printf("%s", piece);
    name += length;
    remaining -= length;
  }
}

static void print_account(const USER_INFO_3 *user) {
  printf("%s", kAccountUser);
  print_name(user->usri3_name);
  printf(" ");

  AccountFigures account;
  account.privilege = user->usri3_priv;
  account.flags = user->usri3_flags;
  account.password_age = user->usri3_password_age;
  account.bad_password_count = user->usri3_bad_pw_count;
  account.logon_count = user->usri3_num_logons;
  account.last_logon = user->usri3_last_logon ? ctime_text((__time32_t)user->usri3_last_logon) : NULL;
  account.password_expired = user->usri3_password_expired;
  char block[kAccountBlockSize];
  format_account_block(block, &account);
  printf("%s", block);
}

void print_user_accounts(LPCWSTR server_name) {
  // Set once: the platform advances it, and each further request hands it back.
  DWORD resume = 0;
  for (DWORD request = 0; request < kMaxRequests; ++request) {
    DWORD resume_before = resume;
    LPBYTE buffer = NULL;
    DWORD entries_read = 0;
    DWORD total_entries = 0;
    NET_API_STATUS status = NetUserEnum(server_name, kUserInfoLevel, kEveryAccountKind, &buffer, kPreferredLength,
                                        &entries_read, &total_entries, &resume);
    if (status == NERR_Success || status == ERROR_MORE_DATA) {
      const USER_INFO_3 *users = (const USER_INFO_3 *)buffer;
      for (DWORD i = 0; users && i < entries_read; ++i) print_account(&users[i]);
    } else {
      printf("%s%lu\n", kNue, (unsigned long)status);
    }
    // A failing request may still hand back a buffer.
    if (buffer) NetApiBufferFree(buffer);
    // "More data" with the handle where it was: the next request would only repeat this one.
    if (status != ERROR_MORE_DATA || resume == resume_before) break;
  }
}

int report_users(void) {
  // UTF-16 on every build: WCHAR is wchar_t on Windows, char16_t on the host.
  static const WCHAR kLocalComputer[1] = {0};
  print_heading(kTitleUsers);
  print_user_accounts(kLocalComputer);
  return 0;
}
