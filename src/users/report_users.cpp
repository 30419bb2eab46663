#include "users/users.h"

#include "report/report.h"

static const DWORD kUserInfoLevel = 3;
static const DWORD kEveryAccountKind = 0;  // no FILTER_* bit: every kind listed
// About 1 KB per request: a few accounts at a time, one buffer held at once.
static const DWORD kPreferredLength = 1024;

// Local account names hold at most 20 characters; this leaves room for a
// double-byte code page and for longer names from elsewhere.
static const int kNameSize = 256;

static const WCHAR kHighSurrogateFirst = 0xD800;
static const WCHAR kHighSurrogateLast = 0xDBFF;

// Tested and printed in this order, which is not the order of the bits.
static const struct {
  DWORD mask;
  const char *line;
} kAccountFlags[] = {
    {UF_ACCOUNTDISABLE, "\t\tAccount is disabled\n"},
    {UF_PASSWD_NOTREQD, "\t\tAccount has no password\n"},
    {UF_PASSWD_CANT_CHANGE, "\t\tPassword cannot be changed by user\n"},
    {UF_LOCKOUT, "\t\tAccount is locked\n"},
    {UF_DONT_EXPIRE_PASSWD, "\t\tAccount password does not expire\n"},
    {UF_TRUSTED_FOR_DELEGATION, "\t\tTrusted for delegation\n"},
    {UF_PASSWORD_EXPIRED, "\t\tAccount password has expired\n"},
    {UF_TRUSTED_TO_AUTHENTICATE_FOR_DELEGATION, "\t\tTrusted to authenticate for delegation\n"},
};

static const char *privilege_suffix(DWORD privilege) {
  switch (privilege) {
    case USER_PRIV_GUEST: return "(Guest)\n";
    case USER_PRIV_USER: return "(User)\n";
    case USER_PRIV_ADMIN: return "(Admin)\n";
    default: return "(Unknown)\n";
  }
}

static int ansi_length(LPCWSTR text, int count) {
  return WideCharToMultiByte(CP_ACP, 0, text, count, NULL, 0, NULL, NULL);
}

// Writes name in the ANSI code page into buffer (size bytes), NUL-terminated.
// Characters the code page lacks become its default character, "?". A name
// too long for the buffer is cut after the last whole character that fits.
// No default character is passed: a UTF-8 ANSI code page refuses one.
static void name_to_ansi(LPCWSTR name, char *buffer, int size) {
  int count = 0;
  if (name) {
    while (name[count] && count < size - 1) ++count;
  }
  while (count > 0) {
    bool cut = name[count] != 0;
    if (cut && name[count - 1] >= kHighSurrogateFirst && name[count - 1] <= kHighSurrogateLast) {
      --count;  // never split a surrogate pair
      continue;
    }
    if (ansi_length(name, count) <= size - 1) break;
    --count;
  }
  int written = count ? WideCharToMultiByte(CP_ACP, 0, name, count, buffer, size - 1, NULL, NULL) : 0;
  buffer[written] = '\0';
}

static void print_account(const USER_INFO_3 *user) {
  char name[kNameSize];
  name_to_ansi(user->usri3_name, name, kNameSize);
  printf("User:\t\t%s ", name);
  printf("%s", privilege_suffix(user->usri3_priv));

  printf("Flags: ");
  for (size_t i = 0; i < sizeof kAccountFlags / sizeof kAccountFlags[0]; ++i) {
    if (user->usri3_flags & kAccountFlags[i].mask) printf("%s", kAccountFlags[i].line);
  }
  printf("\n");

  char age[512];
  format_duration(age, user->usri3_password_age);
  printf("Password Age:\t%s\n", age);
  // All bits set means the platform keeps no count: "%d" shows it as -1.
  printf("Bad Passwords:\t%d\n", (int)user->usri3_bad_pw_count);
  printf("Total Logons:\t%d\n", (int)user->usri3_num_logons);
  if (user->usri3_last_logon == 0)
    printf("Last Logon:\tNever\n");
  else
    printf("Last Logon:\t%s", ctime_text((__time32_t)user->usri3_last_logon));
  if (user->usri3_password_expired) printf("*** Password has expired ***\n");
  printf("\n\n");
}

void print_user_accounts(LPCWSTR server_name) {
  // Set once: the platform advances it, and each further request hands it back.
  DWORD resume = 0;
  NET_API_STATUS status;
  do {
    LPBYTE buffer = NULL;
    DWORD entries_read = 0;
    DWORD total_entries = 0;
    status = NetUserEnum(server_name, kUserInfoLevel, kEveryAccountKind, &buffer, kPreferredLength, &entries_read,
                         &total_entries, &resume);
    if (status == NERR_Success || status == ERROR_MORE_DATA) {
      const USER_INFO_3 *users = (const USER_INFO_3 *)buffer;
      for (DWORD i = 0; users && i < entries_read; ++i) print_account(&users[i]);
    } else {
      printf("NUE() returned %lu\n", (unsigned long)status);
    }
    // A failing request may still hand back a buffer.
    if (buffer) NetApiBufferFree(buffer);
  } while (status == ERROR_MORE_DATA);
}

int report_users(void) {
  // UTF-16 on every build: WCHAR is wchar_t on Windows, char16_t on the host.
  static const WCHAR kLocalComputer[1] = {0};
  print_heading("User Accounts");
  print_user_accounts(kLocalComputer);
  return 0;
}
