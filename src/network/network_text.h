// The network section's rules over plain values: the texts of addresses,
// MACs, speeds, times, roles and adapter types, and the section's blocks.
#pragma once

#include <stddef.h>
#include <stdint.h>

#include "report/text.h"

// Room for one text of the section (a name, a description, a DNS suffix); a
// longer one is cut.
static const int kNetTextSize = 256;
// At most this many addresses of one list (IPv4, IPv6, gateways, DNS servers)
// are shown for an adapter.
static const int kMaxAddresses = 50;
// Room for an address's text: the longest IPv6 text, its prefix and the mark.
static const int kAddressTextSize = 64;
// A prefix length that the source did not give.
static const uint8_t kNoPrefix = 0xFF;

// An IPv4 or IPv6 address, network byte order.
struct NetAddress {
  uint8_t family;  // 4 or 6
  uint8_t prefix;  // kNoPrefix where unknown
  uint8_t bytes[16];
};

// Reads a Windows socket address (AF_INET or AF_INET6, length bytes) into
// address, prefix kNoPrefix. Returns 1, or 0 for another family or a length
// too short for its family.
int read_socket_address(const uint8_t *socket_address, size_t length, NetAddress *address);

// Reads dotted-decimal text ("192.168.1.10") into bytes. Returns 1, or 0 when
// the text is not four decimal parts of 0 to 255.
int parse_ipv4(const char *text, uint8_t bytes[4]);

// The prefix length of a contiguous IPv4 mask (255.255.255.0: 24); kNoPrefix
// for a mask whose one bits are not all in front.
uint8_t mask_prefix(const uint8_t mask[4]);

// 1 when the first bits bits of address equal those of prefix (both of the
// same family, bits within it), else 0.
int prefix_contains(const NetAddress *prefix, unsigned bits, const NetAddress *address);

// Writes the address (kAddressTextSize bytes): dotted decimal, or IPv6 as RFC
// 5952 writes it (lower case, the first longest run of two or more zero
// groups as "::", IPv4-mapped, -translated and -compatible forms with the
// IPv4 part dotted); then "/prefix" where known, and for IPv6 in fe80::/10
// the link-local mark.
void format_address(char *out, const NetAddress *address);

// Writes a MAC as Windows does (02-11-22-33-44-55), up to 8 bytes; "" for none.
void format_mac(char *out, const uint8_t *bytes, unsigned length);

// Writes a link speed in bits per second as whole Mbit/s where it is one
// ("1000 Mbit/s"), else as kbit/s (any rest cut); "" for 0 and for all ones
// (Windows' "unknown").
void format_speed(char *out, uint64_t bits_per_second);

// Writes the offset from UTC of a time-zone bias (minutes, UTC less local
// time, as Windows gives it) as "+01:00" for -60; "" beyond 24 hours.
void format_utc_offset(char *out, long bias_minutes);

// A calendar date and time of day, as Windows gives it in a SYSTEMTIME.
struct CalendarTime {
  unsigned year, month, day, hour, minute, second;
};

// Writes now (a valid date of the years 1601 to 30827, as Windows keeps them)
// less uptime_seconds as "YYYY-MM-DDTHH:MM:SS", Gregorian calendar; "" where
// now lies outside those years or the difference before them.
void format_boot_time(char *out, const CalendarTime *now, uint64_t uptime_seconds);

// Join states, as NetGetJoinInformation counts them.
static const unsigned kJoinStateUnknown = 0;
static const unsigned kJoinStateUnjoined = 1;
static const unsigned kJoinStateWorkgroup = 2;
static const unsigned kJoinStateDomain = 3;

// The role of a machine of product type (1 workstation, 2 domain controller,
// 3 server; anything else unknown) and join state; "Unknown" where they do
// not tell.
const char *role_name(unsigned product_type, unsigned join_state);

// Writes the name of an IF_TYPE_* code ("Ethernet"), "Other (N)" for a code
// without one.
void format_adapter_type(char *out, unsigned if_type);

// Writes the system locale as "en-US (0409)": the ISO language and country
// names, and the locale identifier in hex; "0409" alone without a language,
// "" for identifier 0.
void format_locale(char *out, const char *language, const char *country, unsigned lcid);

// The facts of the Identity block as printed; "" reads "Unknown".
struct IdentityFacts {
  char computer_name[kNetTextSize];
  char dns_host_name[kNetTextSize];
  char dns_domain[kNetTextSize];
  char domain[kNetTextSize];
  unsigned join_state;    // kJoinState*
  unsigned product_type;  // 0 where unknown
  char time_zone[kNetTextSize];
  char utc_offset[16];
  char boot_time[24];
  char last_user[kNetTextSize];
  unsigned code_page;  // 0 where unknown
  char locale[48];
};

// Room for the Identity block.
static const int kIdentityBlockSize = 4096;

// Writes the Identity block with its title into buffer (kIdentityBlockSize
// bytes).
void format_identity(char *buffer, const IdentityFacts *facts);

// A list of addresses in Windows' order; count -1 where this Windows cannot
// tell, 0 where there are none.
struct AddressList {
  int count;
  NetAddress items[kMaxAddresses];
};

// Adds address to list unless it is full. Returns 1, or 0 when full.
int add_address(AddressList *list, const NetAddress *address);

// The facts of one adapter; "" texts read "Unknown".
struct AdapterFacts {
  char name[kNetTextSize];
  char description[kNetTextSize];
  char dns_suffix[kNetTextSize];
  unsigned type;    // IF_TYPE_*; 0 where unknown
  unsigned status;  // IF_OPER_STATUS: 1 up, 0 and 4 unknown, any other down
  int mac_length;   // -1 where unknown
  uint8_t mac[8];
  uint64_t speed;  // bits per second; 0 where unknown
  AddressList ipv4;
  AddressList ipv6;
  AddressList gateways;
  AddressList dns_servers;
  int dhcp;                // 1 on, 0 off, -1 unknown
  NetAddress dhcp_server;  // family 0 where unknown
};

// Room for one adapter's lines.
static const int kAdapterBlockSize = 20480;

// Writes the lines of one adapter into buffer (kAdapterBlockSize bytes),
// without the empty line that parts adapters.
void format_adapter(char *buffer, const AdapterFacts *adapter);
