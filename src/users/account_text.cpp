#include "users/account_text.h"

#include <stdio.h>

#include "report/text.h"
#include "report/words.h"

// Tested and printed in this order, which is not the order of the bits.
static const struct {
  uint32_t mask;
  const char *line;
} kAccountFlags[] = {
    {0x2, kFlagDisabled},              // UF_ACCOUNTDISABLE
    {0x20, kFlagNoPassword},           // UF_PASSWD_NOTREQD
    {0x40, kFlagCannotChange},         // UF_PASSWD_CANT_CHANGE
    {0x10, kFlagLocked},               // UF_LOCKOUT
    {0x10000, kFlagNeverExpires},      // UF_DONT_EXPIRE_PASSWD
    {0x80000, kFlagDelegation},        // UF_TRUSTED_FOR_DELEGATION
    {0x800000, kFlagExpired},          // UF_PASSWORD_EXPIRED
    {0x1000000, kFlagAuthDelegation},  // UF_TRUSTED_TO_AUTHENTICATE_FOR_DELEGATION
};

static const char *privilege_name(uint32_t privilege) {
  switch (privilege) {
    case 0: return "Guest";
    case 1: return "User";
    case 2: return kAccountAdmin;
    default: return kUnknown;
  }
}

void format_account_block(char *buffer, const AccountFigures *account) {
  char *out = buffer;
  out += sprintf(out, "(%s)\n%s", privilege_name(account->privilege), kAccountFlagsLabel);
  for (size_t i = 0; i < sizeof kAccountFlags / sizeof kAccountFlags[0]; ++i) {
    if (account->flags & kAccountFlags[i].mask)
      out += sprintf(out, "%s%s\n", kAccountFlagIndent, kAccountFlags[i].line);
  }
  char age[21];
  format_duration(age, account->password_age);
  out += sprintf(out, "\n%s%s\n", kAccountPasswordAge, age);
  // All bits set means the platform keeps no count: "%d" shows it as -1.
  out += sprintf(out, "%s%d\n", kAccountBadPasswords, (int)account->bad_password_count);
  out += sprintf(out, "%s%d\n", kAccountLogons, (int)account->logon_count);
  if (account->last_logon)
    out += sprintf(out, "%s%s", kAccountLastLogon, account->last_logon);
  else
    out += sprintf(out, "%s%s\n", kAccountLastLogon, kAccountNever);
  if (account->password_expired) out += sprintf(out, "%s\n", kAccountExpired);
  sprintf(out, "\n\n");
}
