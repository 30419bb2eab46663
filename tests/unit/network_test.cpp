// The network section's rules: addresses against the C library's inet_ntop, the boot time against its calendar, and
// the texts that Wine's network cannot make.
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <time.h>

#include <string>

#include "network/network_text.h"

static std::string address_text(const NetAddress &address) {
  char text[kAddressTextSize];
  format_address(text, &address);
  return text;
}

static NetAddress ipv6(std::initializer_list<unsigned> groups, uint8_t prefix = kNoPrefix) {
  NetAddress address = {6, prefix, {0}};
  int i = 0;
  for (unsigned group : groups) {
    address.bytes[i++] = (uint8_t)(group >> 8);
    address.bytes[i++] = (uint8_t)group;
  }
  return address;
}

// Every pattern of zero and non-zero groups, as glibc writes them (RFC 5952: the first longest run of two or more
// zero groups compressed, lower case, no leading zeros; ::ffff:a.b.c.d and ::a.b.c.d dotted).
TEST(Network, Ipv6AgreesWithInetNtop) {
  static const unsigned kValues[] = {0x1, 0xABC, 0xFFFF, 0x10};
  for (unsigned pattern = 0; pattern < 256; ++pattern) {
    NetAddress address = {6, kNoPrefix, {0}};
    for (int group = 0; group < 8; ++group) {
      unsigned value = pattern & 1u << group ? kValues[(pattern + group) % 4] : 0;
      address.bytes[2 * group] = (uint8_t)(value >> 8);
      address.bytes[2 * group + 1] = (uint8_t)value;
    }
    // ::ffff:0:a.b.c.d, which glibc writes in hex, has its own rows below.
    if (!memcmp(address.bytes, "\0\0\0\0\0\0\0\0\xFF\xFF\0\0", 12)) continue;
    char expected[INET6_ADDRSTRLEN];
    ASSERT_NE(nullptr, inet_ntop(AF_INET6, address.bytes, expected, sizeof expected));
    EXPECT_EQ(expected, address_text(address)) << "pattern " << pattern;
  }
}

TEST(Network, AddressForms) {
  const struct {
    NetAddress address;
    const char *text;
  } rows[] = {
      {{4, 24, {192, 168, 1, 10}}, "192.168.1.10/24"},
      {{4, kNoPrefix, {0, 0, 0, 0}}, "0.0.0.0"},
      {{4, 32, {255, 255, 255, 255}}, "255.255.255.255/32"},
      {ipv6({0xFE80, 0, 0, 0, 0, 0, 0, 1}, 64), "fe80::1/64 (link-local)"},
      {ipv6({0xFEBF, 0, 0, 0, 0, 0, 0, 1}, 64), "febf::1/64 (link-local)"},
      {ipv6({0xFEC0, 0, 0, 0, 0, 0, 0, 1}, 10), "fec0::1/10"},
      {ipv6({0x2001, 0xDB8, 0, 0, 1, 0, 0, 1}), "2001:db8::1:0:0:1"},
      {ipv6({0x2001, 0xDB8, 0, 1, 1, 1, 1, 1}), "2001:db8:0:1:1:1:1:1"},
      {ipv6({0, 0, 0, 0, 0xFFFF, 0, 0xC000, 0x0201}), "::ffff:0:192.0.2.1"},
      {ipv6({0, 0, 0, 0, 0, 0xFFFF, 0xC000, 0x0201}), "::ffff:192.0.2.1"},
      {ipv6({0, 0, 0, 0, 0, 0, 0, 0}, 0), "::/0"},
      {ipv6({0, 0, 0, 0, 0, 0, 0, 1}, 128), "::1/128"},
      {ipv6({0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF}, 128),
       "ffff:ffff:ffff:ffff:ffff:ffff:ffff:ffff/128"},
  };
  for (const auto &row : rows) EXPECT_EQ(row.text, address_text(row.address));
  // The longest text fits.
  EXPECT_LT(strlen("ffff:ffff:ffff:ffff:ffff:ffff:ffff:ffff/128 (link-local)"), (size_t)kAddressTextSize);
}

TEST(Network, SocketAddresses) {
  // sockaddr_in and sockaddr_in6 as Windows lays them out, family 2 and 23, little-endian.
  const uint8_t inet[16] = {2, 0, 0, 53, 192, 0, 2, 53};
  uint8_t inet6[28] = {23, 0, 0, 0, 0, 0, 0, 0, 0x20, 0x01, 0x0D, 0xB8};
  inet6[23] = 1;
  NetAddress address;
  ASSERT_EQ(1, read_socket_address(inet, sizeof inet, &address));
  EXPECT_EQ("192.0.2.53", address_text(address));
  ASSERT_EQ(1, read_socket_address(inet6, sizeof inet6, &address));
  EXPECT_EQ("2001:db8::1", address_text(address));
  EXPECT_EQ(0, read_socket_address(inet6, 23, &address));
  EXPECT_EQ(0, read_socket_address(inet, 7, &address));
  EXPECT_EQ(0, read_socket_address(nullptr, 16, &address));
  const uint8_t linux_inet6[28] = {10, 0};
  EXPECT_EQ(0, read_socket_address(linux_inet6, sizeof linux_inet6, &address));
}

TEST(Network, DottedTextAndMasks) {
  const struct {
    const char *text;
    int parsed;
    uint8_t prefix;
  } rows[] = {
      {"255.255.255.0", 1, 24},   {"0.0.0.0", 1, 0},    {"255.255.255.255", 1, 32},
      {"255.255.255.254", 1, 31}, {"128.0.0.0", 1, 1},  {"255.0.255.0", 1, kNoPrefix},
      {"0.0.0.1", 1, kNoPrefix},  {"256.0.0.0", 0, 0},  {"1.2.3", 0, 0},
      {"1.2.3.4.", 0, 0},         {"1.2.3.4 ", 0, 0},   {"", 0, 0},
      {"1..3.4", 0, 0},           {"1000.1.1.1", 0, 0}, {"-1.2.3.4", 0, 0},
  };
  for (const auto &row : rows) {
    uint8_t bytes[4];
    ASSERT_EQ(row.parsed, parse_ipv4(row.text, bytes)) << row.text;
    if (row.parsed) EXPECT_EQ(row.prefix, mask_prefix(bytes)) << row.text;
  }
}

TEST(Network, PrefixContains) {
  NetAddress net = {4, kNoPrefix, {192, 0, 2, 0}};
  NetAddress inside = {4, kNoPrefix, {192, 0, 2, 200}};
  NetAddress outside = {4, kNoPrefix, {192, 0, 3, 1}};
  EXPECT_EQ(1, prefix_contains(&net, 24, &inside));
  EXPECT_EQ(0, prefix_contains(&net, 25, &inside));
  EXPECT_EQ(0, prefix_contains(&net, 24, &outside));
  EXPECT_EQ(1, prefix_contains(&net, 23, &outside));
  EXPECT_EQ(1, prefix_contains(&outside, 0, &inside));
  EXPECT_EQ(0, prefix_contains(&net, 33, &inside));
  NetAddress six = ipv6({0x2001, 0xDB8, 0, 1});
  NetAddress six_host = ipv6({0x2001, 0xDB8, 0, 1, 0, 0, 0, 0x10});
  EXPECT_EQ(1, prefix_contains(&six, 64, &six_host));
  EXPECT_EQ(0, prefix_contains(&six, 128, &six_host));
  EXPECT_EQ(0, prefix_contains(&six, 0, &inside));
}

TEST(Network, MacSpeedOffsetLocale) {
  const uint8_t mac[10] = {0x02, 0x11, 0x22, 0x33, 0x44, 0x55, 0xAB, 0xCD, 0xEF, 0x01};
  char text[64];
  format_mac(text, mac, 6);
  EXPECT_STREQ("02-11-22-33-44-55", text);
  format_mac(text, mac, 10);
  EXPECT_STREQ("02-11-22-33-44-55-AB-CD", text);
  format_mac(text, mac, 0);
  EXPECT_STREQ("", text);

  const struct {
    uint64_t bits;
    const char *text;
  } speeds[] = {
      {1000000000, "1000 Mbit/s"},
      {54000000, "54 Mbit/s"},
      {2500000, "2500 kbit/s"},
      {144400000, "144400 kbit/s"},
      {1500, "1 kbit/s"},
      {0, ""},
      {~0ull, ""},
      {400000000000000ull, "400000000 Mbit/s"},
  };
  for (const auto &row : speeds) {
    format_speed(text, row.bits);
    EXPECT_STREQ(row.text, text) << row.bits;
  }

  const struct {
    long bias;
    const char *text;
  } offsets[] = {{-60, "+01:00"},  {300, "-05:00"},  {-330, "+05:30"}, {0, "+00:00"},
                 {-765, "+12:45"}, {1440, "-24:00"}, {1441, ""},       {-1441, ""}};
  for (const auto &row : offsets) {
    format_utc_offset(text, row.bias);
    EXPECT_STREQ(row.text, text) << row.bias;
  }

  format_locale(text, "en", "US", 0x409);
  EXPECT_STREQ("en-US (0409)", text);
  format_locale(text, "", "", 0x409);
  EXPECT_STREQ("0409", text);
  format_locale(text, "en", "US", 0);
  EXPECT_STREQ("", text);

  format_adapter_type(text, 6);
  EXPECT_STREQ("Ethernet", text);
  format_adapter_type(text, 53);
  EXPECT_STREQ("Other (53)", text);
}

static std::string boot_time(CalendarTime now, uint64_t uptime) {
  char text[24];
  format_boot_time(text, &now, uptime);
  return text;
}

TEST(Network, BootTimeAgreesWithTheCalendar) {
  // Now and uptimes from 0 to 89 years, against gmtime of the difference.
  for (int64_t now = -11644473600; now < 253402300799; now += 86400 * 2557 + 3 * 3600 + 1601) {
    struct tm utc;
    time_t t = (time_t)now;
    gmtime_r(&t, &utc);
    CalendarTime calendar = {(unsigned)utc.tm_year + 1900, (unsigned)utc.tm_mon + 1, (unsigned)utc.tm_mday,
                             (unsigned)utc.tm_hour,        (unsigned)utc.tm_min,     (unsigned)utc.tm_sec};
    for (uint64_t uptime = 0; uptime < 89ull * 365 * 86400; uptime = uptime * 3 + 86399) {
      if (now - (int64_t)uptime < -11644473600) break;
      time_t boot = (time_t)(now - (int64_t)uptime);
      gmtime_r(&boot, &utc);
      char expected[24];
      strftime(expected, sizeof expected, "%Y-%m-%dT%H:%M:%S", &utc);
      ASSERT_EQ(expected, boot_time(calendar, uptime)) << now << " less " << uptime;
    }
  }
  EXPECT_EQ("2024-02-29T23:59:59", boot_time({2024, 3, 1, 0, 0, 0}, 1));
  EXPECT_EQ("2100-02-28T00:00:00", boot_time({2100, 3, 1, 0, 0, 0}, 86400));
  EXPECT_EQ("1601-01-01T00:00:00", boot_time({1601, 1, 2, 0, 0, 0}, 86400));
  EXPECT_EQ("", boot_time({1601, 1, 2, 0, 0, 0}, 86401));
  EXPECT_EQ("", boot_time({2026, 12, 7, 8, 0, 0}, ~0ull / 1000));
  EXPECT_EQ("", boot_time({1600, 12, 31, 0, 0, 0}, 0));
  EXPECT_EQ("30827-12-31T23:59:59", boot_time({30827, 12, 31, 23, 59, 59}, 0));
}

TEST(Network, Roles) {
  const struct {
    unsigned product_type, join_state;
    const char *role;
  } rows[] = {
      {1, kJoinStateDomain, "Member Workstation"},
      {1, kJoinStateWorkgroup, "Standalone Workstation"},
      {1, kJoinStateUnjoined, "Standalone Workstation"},
      {3, kJoinStateDomain, "Member Server"},
      {3, kJoinStateWorkgroup, "Standalone Server"},
      {2, kJoinStateDomain, "Domain Controller"},
      {2, kJoinStateUnknown, "Domain Controller"},
      {1, kJoinStateUnknown, "Unknown"},
      {0, kJoinStateDomain, "Unknown"},
      {3, 4, "Unknown"},
  };
  for (const auto &row : rows) EXPECT_STREQ(row.role, role_name(row.product_type, row.join_state));
}

TEST(Network, IdentityBlock) {
  IdentityFacts facts = {"WS042", "ws042", "None", "CORP\x01", kJoinStateDomain, 1, "W. Europe Standard Time"};
  strcpy(facts.utc_offset, "+01:00");
  strcpy(facts.boot_time, "2026-12-07T08:00:01");
  facts.code_page = 1252;
  char text[kIdentityBlockSize];
  format_identity(text, &facts);
  EXPECT_STREQ(
      "Identity\n"
      "--------\n"
      "\n"
      "Computer Name         : WS042\n"
      "DNS Host Name         : ws042\n"
      "DNS Domain            : None\n"
      "Domain                : CORP.\n"
      "Join State            : Domain\n"
      "Role                  : Member Workstation\n"
      "Time Zone             : W. Europe Standard Time\n"
      "UTC Offset            : +01:00\n"
      "Boot Time             : 2026-12-07T08:00:01\n"
      "Last User             : Unknown\n"
      "Code Page             : 1252\n"
      "System Locale         : Unknown\n",
      text);
}

TEST(Network, AdapterBlocks) {
  static AdapterFacts adapter;
  memset(&adapter, 0, sizeof adapter);
  strcpy(adapter.name, "Ethernet\t2");
  strcpy(adapter.description, "Intel(R) PRO/1000 MT Network Connection");
  strcpy(adapter.dns_suffix, "corp.example.com");
  adapter.type = 6;
  adapter.status = 1;
  adapter.mac_length = 6;
  memcpy(adapter.mac, "\x02\x11\x22\x33\x44\x55", 6);
  adapter.speed = 1000000000;
  NetAddress v4 = {4, 24, {192, 168, 1, 10}};
  NetAddress gateway = {4, kNoPrefix, {192, 168, 1, 1}};
  NetAddress six = ipv6({0xFE80, 0, 0, 0, 0, 0, 0, 1}, 64);
  add_address(&adapter.ipv4, &v4);
  add_address(&adapter.ipv6, &six);
  add_address(&adapter.gateways, &gateway);
  add_address(&adapter.dns_servers, &gateway);
  add_address(&adapter.dns_servers, &six);
  adapter.dhcp = 1;
  adapter.dhcp_server = gateway;
  static char text[kAdapterBlockSize];
  format_adapter(text, &adapter);
  EXPECT_STREQ(
      "Adapter               : Ethernet.2\n"
      "Description           : Intel(R) PRO/1000 MT Network Connection\n"
      "Type                  : Ethernet\n"
      "Status                : Up\n"
      "MAC Address           : 02-11-22-33-44-55\n"
      "Speed                 : 1000 Mbit/s\n"
      "IPv4 Address          : 192.168.1.10/24\n"
      "IPv6 Address          : fe80::1/64 (link-local)\n"
      "Gateway               : 192.168.1.1\n"
      "DNS Server            : 192.168.1.1\n"
      "DNS Server            : fe80::1/64 (link-local)\n"
      "DNS Suffix            : corp.example.com\n"
      "DHCP                  : On\n"
      "DHCP Server           : 192.168.1.1\n",
      text);

  // As GetAdaptersInfo tells it: no status, speed, DNS servers or suffix; no address; DHCP on without a server.
  memset(&adapter, 0, sizeof adapter);
  adapter.type = 23;
  adapter.gateways.count = -1;
  adapter.dns_servers.count = -1;
  adapter.dhcp = 1;
  format_adapter(text, &adapter);
  EXPECT_STREQ(
      "Adapter               : Unknown\n"
      "Description           : Unknown\n"
      "Type                  : PPP\n"
      "Status                : Unknown\n"
      "MAC Address           : None\n"
      "Speed                 : Unknown\n"
      "IPv4 Address          : None\n"
      "IPv6 Address          : None\n"
      "Gateway               : Unknown\n"
      "DNS Server            : Unknown\n"
      "DNS Suffix            : Unknown\n"
      "DHCP                  : On\n"
      "DHCP Server           : Unknown\n",
      text);

  // Status down, DHCP off; a full list takes no more, and its block still fits.
  adapter.status = 2;
  adapter.dhcp = 0;
  adapter.mac_length = -1;
  for (int i = 0; i < kMaxAddresses; ++i) {
    ASSERT_EQ(1, add_address(&adapter.ipv6, &six));
    add_address(&adapter.gateways, &six);
    add_address(&adapter.dns_servers, &six);
  }
  EXPECT_EQ(0, add_address(&adapter.ipv6, &six));
  memset(adapter.name, 'n', sizeof adapter.name - 1);
  memset(adapter.description, 'd', sizeof adapter.description - 1);
  memset(adapter.dns_suffix, 's', sizeof adapter.dns_suffix - 1);
  format_adapter(text, &adapter);
  EXPECT_NE(nullptr, strstr(text, "Status                : Down\nMAC Address           : Unknown\n"));
  EXPECT_NE(nullptr, strstr(text, "DHCP                  : Off\nDHCP Server           : None\n"));
  EXPECT_LT(strlen(text), sizeof text);
}
