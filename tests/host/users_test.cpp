#include <gtest/gtest.h>

#include "report/report.h"
#include "sim_fixture.h"
#include "users/users.h"

class UsersTest : public SimTest {
 protected:
  sim::UserBatch &batch(NET_API_STATUS status, const std::vector<sim::User> &users = {}) {
    sim::UserBatch b;
    b.status = status;
    b.users = users;
    machine().user_batches.push_back(b);
    return machine().user_batches.back();
  }

  static sim::User account(const std::u16string &name) {
    sim::User user;
    user.name = name;
    return user;
  }

  // One account on the machine, the section printed.
  std::string section_for(const sim::User &user) {
    batch(NERR_Success, {user});
    return section();
  }

  static std::string section() { return sim::run(report_users).out; }

  // The block of a sim::User left as it is made: a plain user account with
  // no flag of the table, no counts and no logon.
  static std::string plain_block(const std::string &name) {
    return "User:\t\t" + name +
           " (User)\nFlags: \nPassword Age:\t0s\nBad Passwords:\t0\nTotal Logons:\t0\nLast Logon:\tNever\n\n\n";
  }

  // The requests and releases, in order, with their arguments.
  static std::string enumeration_calls() {
    std::string text;
    for (const sim::Call &call : sim::calls())
      if (call.name == "NetUserEnum" || call.name == "NetApiBufferFree") text += call.name + "(" + call.args + ")\n";
    return text;
  }

  // The resume value each request handed in (the last argument recorded).
  static std::vector<std::string> resume_values() {
    std::vector<std::string> values;
    for (const sim::Call &call : sim::calls_named("NetUserEnum"))
      values.push_back(call.args.substr(call.args.rfind(", ") + 2));
    return values;
  }

  const std::string head = heading("User Accounts");
};

TEST_F(UsersTest, NoAccountsGivesTheHeadingAlone) {
  EXPECT_EQ(head, section());
  // Level 3, every kind of account, about 1 KB, the local computer, a new
  // enumeration; no buffer came back, so none is released.
  EXPECT_EQ("NetUserEnum(\"\", 3, 0, 1024, 0)\n", enumeration_calls());
}

TEST_F(UsersTest, EmptyBatchPrintsNothingAndIsReleased) {
  batch(NERR_Success);
  EXPECT_EQ(head, section());
  EXPECT_EQ("NetUserEnum(\"\", 3, 0, 1024, 0)\nNetApiBufferFree(buffer #1)\n", enumeration_calls());
}

TEST_F(UsersTest, WholeBlock) {
  sim::User user = account(u"Administrator");
  user.priv = USER_PRIV_ADMIN;
  user.flags = UF_SCRIPT | UF_ACCOUNTDISABLE | UF_NORMAL_ACCOUNT | UF_DONT_EXPIRE_PASSWD;
  user.password_age = 694861;
  user.bad_pw_count = 3;
  user.num_logons = 42;
  user.last_logon = 1000000000;
  EXPECT_EQ(head +
                "User:\t\tAdministrator (Admin)\n"
                "Flags: \t\tAccount is disabled\n"
                "\t\tAccount password does not expire\n"
                "\n"
                "Password Age:\t1w 1d 1h 1m 1s\n"
                "Bad Passwords:\t3\n"
                "Total Logons:\t42\n"
                "Last Logon:\tSun Sep 09 01:46:40 2001\n"
                "\n\n",
            section_for(user));
}

TEST_F(UsersTest, BatchesPrintOnceEachInOrder) {
  batch(ERROR_MORE_DATA, {account(u"alpha"), account(u"bravo")});
  batch(ERROR_MORE_DATA, {account(u"charlie")});
  batch(NERR_Success, {account(u"delta"), account(u"echo")});
  EXPECT_EQ(head + plain_block("alpha") + plain_block("bravo") + plain_block("charlie") + plain_block("delta") +
                plain_block("echo"),
            section());

  // The report sets the resume handle once and hands back what the platform
  // left in it (the layer refuses any other value); each buffer is released
  // before the next request.
  std::vector<std::string> resume = resume_values();
  ASSERT_EQ(3u, resume.size());
  EXPECT_EQ("0", resume[0]);
  EXPECT_NE("0", resume[1]);
  EXPECT_NE("0", resume[2]);
  EXPECT_NE(resume[1], resume[2]);
  EXPECT_EQ("NetUserEnum(\"\", 3, 0, 1024, 0)\nNetApiBufferFree(buffer #1)\n"
            "NetUserEnum(\"\", 3, 0, 1024, " + resume[1] + ")\nNetApiBufferFree(buffer #2)\n"
            "NetUserEnum(\"\", 3, 0, 1024, " + resume[2] + ")\nNetApiBufferFree(buffer #3)\n",
            enumeration_calls());
}

TEST_F(UsersTest, FailingFirstRequestPrintsTheStatusAlone) {
  for (bool hands_buffer : {false, true}) {
    sim::reset();
    batch(ERROR_ACCESS_DENIED, {account(u"hidden")}).hands_buffer = hands_buffer;
    batch(NERR_Success, {account(u"never")});
    EXPECT_EQ(head + "NUE() returned 5\n", section()) << hands_buffer;
    EXPECT_EQ(1u, sim::count_calls("NetUserEnum"));
    EXPECT_EQ(hands_buffer ? 1u : 0u, sim::count_calls("NetApiBufferFree"));
    EXPECT_TRUE(sim::held().empty()) << hands_buffer;
  }
}

TEST_F(UsersTest, FailureAfterABatchKeepsItsBlocks) {
  batch(ERROR_MORE_DATA, {account(u"alpha"), account(u"bravo")});
  batch(ERROR_NOT_ENOUGH_MEMORY, {account(u"charlie")}).hands_buffer = true;
  batch(NERR_Success, {account(u"delta")});
  EXPECT_EQ(head + plain_block("alpha") + plain_block("bravo") + "NUE() returned 8\n", section());
  EXPECT_EQ(2u, sim::count_calls("NetUserEnum"));
  EXPECT_EQ(2u, sim::count_calls("NetApiBufferFree"));
}

TEST_F(UsersTest, RequestThatFailsOnItsOwn) {
  batch(ERROR_MORE_DATA, {account(u"alpha")});
  batch(NERR_Success, {account(u"bravo")});
  machine().fail_nth["NetUserEnum"] = {2};
  EXPECT_EQ(head + plain_block("alpha") + "NUE() returned 5\n", section());
}

TEST_F(UsersTest, StatusPrintsUnsigned) {
  batch(0xC0000001u);
  EXPECT_EQ(head + "NUE() returned 3221225473\n", section());
}

TEST_F(UsersTest, PrivilegeSuffixes) {
  struct Case {
    DWORD priv;
    const char *suffix;
  } cases[] = {{USER_PRIV_GUEST, "(Guest)"}, {USER_PRIV_USER, "(User)"}, {USER_PRIV_ADMIN, "(Admin)"},
               {3, "(Unknown)"},             {0xFFFFFFFF, "(Unknown)"}};
  for (const Case &c : cases) {
    sim::reset();
    sim::User user = account(u"someone");
    user.priv = c.priv;
    std::string expected = plain_block("someone");
    expected.replace(expected.find("(User)"), 6, c.suffix);
    EXPECT_EQ(head + expected, section_for(user)) << c.priv;
  }
}

TEST_F(UsersTest, FlagLinesInTheirOwnOrder) {
  const char *disabled = "\t\tAccount is disabled\n";
  const char *no_password = "\t\tAccount has no password\n";
  const char *cant_change = "\t\tPassword cannot be changed by user\n";
  const char *locked = "\t\tAccount is locked\n";
  const char *dont_expire = "\t\tAccount password does not expire\n";
  const char *trusted = "\t\tTrusted for delegation\n";
  const char *expired = "\t\tAccount password has expired\n";
  const char *trusted_auth = "\t\tTrusted to authenticate for delegation\n";
  struct Case {
    DWORD flags;
    std::string lines;
  } cases[] = {
      {UF_ACCOUNTDISABLE | UF_DONT_EXPIRE_PASSWD, std::string(disabled) + dont_expire},
      {UF_SCRIPT | UF_NORMAL_ACCOUNT, ""},
      {0, ""},
      {UF_ACCOUNTDISABLE, disabled},
      {UF_PASSWD_NOTREQD, no_password},
      {UF_PASSWD_CANT_CHANGE, cant_change},
      {UF_LOCKOUT, locked},
      {UF_DONT_EXPIRE_PASSWD, dont_expire},
      {UF_TRUSTED_FOR_DELEGATION, trusted},
      {UF_PASSWORD_EXPIRED, expired},
      {UF_TRUSTED_TO_AUTHENTICATE_FOR_DELEGATION, trusted_auth},
      // The lock-out bit (0x10) is printed after the two password bits.
      {UF_LOCKOUT | UF_PASSWD_NOTREQD, std::string(no_password) + locked},
      {0xFFFFFFFF, std::string(disabled) + no_password + cant_change + locked + dont_expire + trusted + expired +
                       trusted_auth},
  };
  for (const Case &c : cases) {
    sim::reset();
    sim::User user = account(u"flagged");
    user.flags = c.flags;
    std::string expected = plain_block("flagged");
    expected.replace(expected.find("Flags: \n"), 8, "Flags: " + c.lines + "\n");
    EXPECT_EQ(head + expected, section_for(user)) << std::hex << c.flags;
  }
}

TEST_F(UsersTest, ExpiredFlagAndExpiredBannerAreIndependent) {
  for (DWORD flags : {0u, static_cast<DWORD>(UF_PASSWORD_EXPIRED)}) {
    for (DWORD password_expired : {0u, 1u}) {
      sim::reset();
      sim::User user = account(u"x");
      user.flags = flags;
      user.password_expired = password_expired;
      std::string expected = head + "User:\t\tx (User)\nFlags: " +
                             (flags ? "\t\tAccount password has expired\n" : "") +
                             "\nPassword Age:\t0s\nBad Passwords:\t0\nTotal Logons:\t0\nLast Logon:\tNever\n" +
                             (password_expired ? "*** Password has expired ***\n" : "") + "\n\n";
      EXPECT_EQ(expected, section_for(user)) << flags << " " << password_expired;
    }
  }
}

TEST_F(UsersTest, CountsAndAgeAtTheirLimits) {
  sim::User user = account(u"x");
  user.password_age = 0xFFFFFFFF;
  user.bad_pw_count = 0xFFFFFFFF;  // the platform keeps no count
  user.num_logons = 0xFFFFFFFF;
  EXPECT_EQ(head +
                "User:\t\tx (User)\nFlags: \nPassword Age:\t7101w 3d 6h 28m 15s\nBad Passwords:\t-1\n"
                "Total Logons:\t-1\nLast Logon:\tNever\n\n\n",
            section_for(user));

  sim::reset();
  user.password_age = 59;
  user.bad_pw_count = 0x7FFFFFFF;
  user.num_logons = 0x80000000;
  EXPECT_EQ(head +
                "User:\t\tx (User)\nFlags: \nPassword Age:\t59s\nBad Passwords:\t2147483647\n"
                "Total Logons:\t-2147483648\nLast Logon:\tNever\n\n\n",
            section_for(user));
}

TEST_F(UsersTest, LastLogonTexts) {
  struct Case {
    long local_offset;
    DWORD last_logon;
    std::string text;
  } cases[] = {
      {0, 0, "Never\n"},
      {-3600, 0, "Never\n"},
      {0, 1, "Thu Jan 01 00:00:01 1970\n"},
      {0, 1000000000, "Sun Sep 09 01:46:40 2001\n"},
      {2 * 3600, 1000000000, "Sun Sep 09 03:46:40 2001\n"},
      {0, 0x7FFFFFFF, "Tue Jan 19 03:14:07 2038\n"},
      // Before 1970 in local time, and past 2038 (negative as a 32-bit time):
      // the runtime gives no text.
      {-3600, 60, kNoTimeText},
      {0, 0x80000000, kNoTimeText},
  };
  for (const Case &c : cases) {
    sim::reset();
    machine().local_offset = c.local_offset;
    sim::User user = account(u"x");
    user.last_logon = c.last_logon;
    std::string expected = plain_block("x");
    expected.replace(expected.find("Never\n"), 6, c.text);
    EXPECT_EQ(head + expected, section_for(user)) << c.local_offset << " " << c.last_logon;
  }
}

TEST_F(UsersTest, NamesInTheAnsiCodePage) {
  batch(NERR_Success, {account(u"Ren\u00e9"), account(u"\u0141ukasz \u00c5sa"), account(u"\u20ac")});
  // 1252 holds é, Å and €; Ł becomes "?" and the rest of the line stays.
  EXPECT_EQ(head + plain_block("Ren\xe9") + plain_block("?ukasz \xc5sa") + plain_block("\x80"), section());
}

TEST_F(UsersTest, OverlongNamesAreCutAtAWholeCharacter) {
  std::u16string pair = u"\U0001F600";
  struct Case {
    std::u16string name;
    std::string printed;
  } cases[] = {
      {std::u16string(255, u'a'), std::string(255, 'a')},
      {std::u16string(300, u'b'), std::string(255, 'b')},
      // The 255th unit opens a surrogate pair: the whole pair is left out.
      {std::u16string(254, u'c') + pair + u"d", std::string(254, 'c')},
      {std::u16string(253, u'e') + pair, std::string(253, 'e') + "??"},
  };
  for (const Case &c : cases) {
    sim::reset();
    EXPECT_EQ(head + plain_block(c.printed), section_for(account(c.name))) << c.name.size();
  }
}

TEST_F(UsersTest, EveryUStartsAFreshEnumeration) {
  batch(ERROR_MORE_DATA, {account(u"alpha")});
  batch(NERR_Success, {account(u"bravo")});
  machine().ticks = {0, 5};
  std::string once = head + plain_block("alpha") + plain_block("bravo");
  EXPECT_EQ(kBanner + once + once + "\nTotal time taken: 5 ms\n", sim::run_program({"-UU"}).out);
  std::vector<std::string> resume = resume_values();
  ASSERT_EQ(4u, resume.size());
  EXPECT_EQ("0", resume[0]);
  EXPECT_EQ("0", resume[2]);
}

// The layer itself: the checks the tests above rely on do fail.
TEST_F(UsersTest, SimulatedEnumerationCatchesMisuse) {
  batch(ERROR_MORE_DATA, {account(u"alpha")});
  batch(NERR_Success, {account(u"bravo")});
  static const WCHAR kLocal[1] = {0};
  LPBYTE buffer = nullptr;
  DWORD read = 0, total = 0, resume = 0;
  EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_LEVEL), NetUserEnum(kLocal, 2, 0, &buffer, 1024, &read, &total, &resume));
  ASSERT_EQ(static_cast<DWORD>(ERROR_MORE_DATA), NetUserEnum(kLocal, 3, 0, &buffer, 1024, &read, &total, &resume));
  EXPECT_EQ(1u, read);
  EXPECT_EQ(2u, total);
  EXPECT_NE(0u, resume);
  EXPECT_EQ(1u, sim::held().size()) << "an unreleased buffer is reported";
  EXPECT_EQ(static_cast<DWORD>(NERR_Success), NetApiBufferFree(buffer));

  // An altered or reset resume handle is refused; the value handed out
  // still continues the enumeration.
  DWORD altered = resume + 1;
  DWORD reset = 0;
  buffer = nullptr;
  EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_PARAMETER),
            NetUserEnum(kLocal, 3, 0, &buffer, 1024, &read, &total, &altered));
  EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_PARAMETER), NetUserEnum(kLocal, 3, 0, &buffer, 1024, &read, &total, &reset));
  EXPECT_EQ(nullptr, buffer);
  ASSERT_EQ(static_cast<DWORD>(NERR_Success), NetUserEnum(kLocal, 3, 0, &buffer, 1024, &read, &total, &resume));
  EXPECT_EQ(1u, read);
  EXPECT_EQ(0u, resume);
  EXPECT_EQ(static_cast<DWORD>(NERR_Success), NetApiBufferFree(buffer));

  // Releasing what the layer did not hand out is reported.
  EXPECT_NE(static_cast<DWORD>(NERR_Success), NetApiBufferFree(&reset));
  EXPECT_EQ(1u, sim::held().size());
  sim::reset();
}
