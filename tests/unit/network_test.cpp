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
      {ipv6({0xFE80, 0, 0, 0, 0, 0, 0, 1}, 64), "fe80::1/64 (link-local)"},
      {ipv6({0xFEBF, 0, 0, 0, 0, 0, 0, 1}, 64), "febf::1/64 (link-local)"},
      {ipv6({0xFEC0, 0, 0, 0, 0, 0, 0, 1}, 10), "fec0::1/10"},
      {ipv6({0, 0, 0, 0, 0xFFFF, 0, 0xC000, 0x0201}), "::ffff:0:192.0.2.1"},
  };
  for (const auto &row : rows) EXPECT_EQ(row.text, address_text(row.address));
}

// Wine's answers show whole socket addresses; these are the ones it does not give.
TEST(Network, SocketAddressesCutShortOrForeign) {
  const uint8_t inet6[28] = {23, 0};
  const uint8_t linux_inet6[28] = {10, 0};
  NetAddress address;
  EXPECT_EQ(1, read_socket_address(inet6, sizeof inet6, &address));
  EXPECT_EQ(0, read_socket_address(inet6, 23, &address));
  EXPECT_EQ(0, read_socket_address(inet6, 7, &address));
  EXPECT_EQ(0, read_socket_address(nullptr, 16, &address));
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
  EXPECT_EQ(0, prefix_contains(&net, 33, &inside));
  NetAddress six = ipv6({0x2001, 0xDB8, 0, 1});
  NetAddress six_host = ipv6({0x2001, 0xDB8, 0, 1, 0, 0, 0, 0x10});
  EXPECT_EQ(1, prefix_contains(&six, 64, &six_host));
  EXPECT_EQ(0, prefix_contains(&six, 128, &six_host));
}

TEST(Network, MacSpeedOffsetLocale) {
  const uint8_t mac[10] = {0x02, 0x11, 0x22, 0x33, 0x44, 0x55, 0xAB, 0xCD, 0xEF, 0x01};
  char text[64];
  format_mac(text, mac, 10);
  EXPECT_STREQ("02-11-22-33-44-55-AB-CD", text);

  const struct {
    uint64_t bits;
    const char *text;
  } speeds[] = {{1000000000, "1000 Mbit/s"}, {2500000, "2500 kbit/s"}, {1500, "1 kbit/s"}, {0, ""}, {~0ull, ""}};
  for (const auto &row : speeds) {
    format_speed(text, row.bits);
    EXPECT_STREQ(row.text, text) << row.bits;
  }

  const struct {
    long bias;
    const char *text;
  } offsets[] = {{-60, "+01:00"}, {300, "-05:00"}, {-330, "+05:30"}, {0, "+00:00"}, {1441, ""}};
  for (const auto &row : offsets) {
    format_utc_offset(text, row.bias);
    EXPECT_STREQ(row.text, text) << row.bias;
  }

  format_locale(text, "", "", 0x409);
  EXPECT_STREQ("0409", text);
  format_locale(text, "en", "US", 0);
  EXPECT_STREQ("", text);

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
  EXPECT_EQ("1601-01-01T00:00:00", boot_time({1601, 1, 2, 0, 0, 0}, 86400));
  EXPECT_EQ("", boot_time({1601, 1, 2, 0, 0, 0}, 86401));
  EXPECT_EQ("", boot_time({2026, 12, 7, 8, 0, 0}, ~0ull / 1000));
  EXPECT_EQ("", boot_time({1600, 12, 31, 0, 0, 0}, 0));
  EXPECT_EQ("", boot_time({30828, 1, 1, 0, 0, 0}, 0));
  EXPECT_EQ("30827-12-31T23:59:59", boot_time({30827, 12, 31, 23, 59, 59}, 0));
}

TEST(Network, Roles) {
  const struct {
    unsigned product_type, join_state;
    const char *role;
  } rows[] = {
      {1, kJoinStateDomain, "Member Workstation"}, {1, kJoinStateUnjoined, "Standalone Workstation"},
      {3, kJoinStateDomain, "Member Server"},      {3, kJoinStateWorkgroup, "Standalone Server"},
      {2, kJoinStateDomain, "Domain Controller"},  {2, kJoinStateUnknown, "Domain Controller"},
      {1, kJoinStateUnknown, "Unknown"},           {0, kJoinStateDomain, "Unknown"},
  };
  for (const auto &row : rows) EXPECT_STREQ(row.role, role_name(row.product_type, row.join_state));
}

// As GetAdaptersInfo tells an adapter: no IPv6, status, speed, DNS servers or suffix; no MAC, no address; DHCP on. The
// described adapter of tests/wine/network.sh shows the other values.
TEST(Network, AdapterBlock) {
  static AdapterFacts adapter;
  strcpy(adapter.name, "PPP\tlink");
  adapter.type = 23;
  adapter.ipv6.count = -1;
  adapter.gateways.count = -1;
  adapter.dns_servers.count = -1;
  adapter.dhcp = 1;
  adapter.dhcp_server = {4, kNoPrefix, {192, 168, 1, 1}};
  static char text[kAdapterBlockSize];
  format_adapter(text, &adapter);
  EXPECT_STREQ(
      "Adapter               : PPP.link\n"
      "Description           : Unknown\n"
      "Type                  : PPP\n"
      "Status                : Unknown\n"
      "MAC Address           : None\n"
      "Speed                 : Unknown\n"
      "IPv4 Address          : None\n"
      "IPv6 Address          : Unknown\n"
      "Gateway               : Unknown\n"
      "DNS Server            : Unknown\n"
      "DNS Suffix            : Unknown\n"
      "DHCP                  : On\n"
      "DHCP Server           : 192.168.1.1\n",
      text);
  adapter.dhcp_server.family = 0;
  format_adapter(text, &adapter);
  EXPECT_STREQ("DHCP Server           : Unknown\n", strstr(text, "DHCP Server"));
}
