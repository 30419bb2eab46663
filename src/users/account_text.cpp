#include "users/account_text.h"

#include <stdio.h>

#include "report/text.h"

// Tested and printed in this order, which is not the order of the bits.
static const struct {
  uint32_t mask;
  const char *line;
} kAccountFlags[] = {
    {0x2, "\t\tAccount is disabled\n"},                           // UF_ACCOUNTDISABLE
    {0x20, "\t\tAccount has no password\n"},                      // UF_PASSWD_NOTREQD
    {0x40, "\t\tPassword cannot be changed by user\n"},           // UF_PASSWD_CANT_CHANGE
    {0x10, "\t\tAccount is locked\n"},                            // UF_LOCKOUT
    {0x10000, "\t\tAccount password does not expire\n"},          // UF_DONT_EXPIRE_PASSWD
    {0x80000, "\t\tTrusted for delegation\n"},                    // UF_TRUSTED_FOR_DELEGATION
    {0x800000, "\t\tAccount password has expired\n"},             // UF_PASSWORD_EXPIRED
    {0x1000000, "\t\tTrusted to authenticate for delegation\n"},  // UF_TRUSTED_TO_AUTHENTICATE_FOR_DELEGATION
};

static const char *privilege_suffix(uint32_t privilege) {
  switch (privilege) {
    case 0: return "(Guest)\n";
    case 1: return "(User)\n";
    case 2: return "(Admin)\n";
    default: return "(Unknown)\n";
  }
}

void format_account_block(char *buffer, const AccountFigures *account) {
  char *out = buffer;
  out += sprintf(out, "%sFlags: ", privilege_suffix(account->privilege));
  for (size_t i = 0; i < sizeof kAccountFlags / sizeof kAccountFlags[0]; ++i) {
    if (account->flags & kAccountFlags[i].mask) out += sprintf(out, "%s", kAccountFlags[i].line);
  }
  char age[21];
  format_duration(age, account->password_age);
  out += sprintf(out, "\nPassword Age:\t%s\n", age);
  // All bits set means the platform keeps no count: "%d" shows it as -1.
  out += sprintf(out, "Bad Passwords:\t%d\n", (int)account->bad_password_count);
  out += sprintf(out, "Total Logons:\t%d\n", (int)account->logon_count);
  if (account->last_logon)
    out += sprintf(out, "Last Logon:\t%s", account->last_logon);
  else
    out += sprintf(out, "Last Logon:\tNever\n");
  if (account->password_expired) out += sprintf(out, "*** Password has expired ***\n");
  sprintf(out, "\n\n");
}
