#include "network/network_text.h"

#include <stdio.h>
#include <string.h>

#include "report/text.h"
#include "report/words.h"

// Windows' address families.
static const unsigned kFamilyInet = 2;
static const unsigned kFamilyInet6 = 23;

int read_socket_address(const uint8_t *socket_address, size_t length, NetAddress *address) {
  memset(address, 0, sizeof *address);
  address->prefix = kNoPrefix;
  if (!socket_address || length < 8) return 0;
  unsigned family = socket_address[0] | socket_address[1] << 8;
  // sockaddr_in: family, port, then the address; sockaddr_in6: family, port,
  // flow information, then the address.
  if (family == kFamilyInet) {
    address->family = 4;
    memcpy(address->bytes, socket_address + 4, 4);
    return 1;
  }
  if (family != kFamilyInet6 || length < 24) return 0;
  address->family = 6;
  memcpy(address->bytes, socket_address + 8, 16);
  return 1;
}

int parse_ipv4(const char *text, uint8_t bytes[4]) {
  for (int part = 0; part < 4; ++part) {
    unsigned value = 0;
    int digits = 0;
    for (; *text >= '0' && *text <= '9' && digits < 4; ++text, ++digits) value = value * 10 + (unsigned)(*text - '0');
    if (digits == 0 || digits > 3 || value > 255) return 0;
    bytes[part] = (uint8_t)value;
    if (*text++ != (part < 3 ? '.' : '\0')) return 0;
  }
  return 1;
}

uint8_t mask_prefix(const uint8_t mask[4]) {
  uint32_t bits = (uint32_t)mask[0] << 24 | (uint32_t)mask[1] << 16 | (uint32_t)mask[2] << 8 | mask[3];
  uint8_t length = 0;
  for (; bits & 0x80000000u; bits <<= 1) ++length;
  return bits ? kNoPrefix : length;
}

int prefix_contains(const NetAddress *prefix, unsigned bits, const NetAddress *address) {
  if (prefix->family != address->family || bits > (address->family == 4 ? 32u : 128u)) return 0;
  for (unsigned i = 0; i < bits; ++i) {
    unsigned mask = 0x80 >> (i % 8);
    if ((prefix->bytes[i / 8] & mask) != (address->bytes[i / 8] & mask)) return 0;
  }
  return 1;
}

static char *format_dotted(char *out, const uint8_t *bytes) {
  return out + sprintf(out, "%u.%u.%u.%u", bytes[0], bytes[1], bytes[2], bytes[3]);
}

static char *format_ipv6(char *out, const uint8_t *bytes) {
  unsigned groups[8];
  for (int i = 0; i < 8; ++i) groups[i] = bytes[2 * i] << 8 | bytes[2 * i + 1];
  // The IPv4-mapped (::ffff:0:0/96), -translated (::ffff:0:0:0/96) and
  // -compatible (::/96, not :: and ::1 nor any whose 7th group is 0) forms end
  // in the dotted IPv4 address.
  int zeros_before = 0;
  while (zeros_before < 6 && groups[zeros_before] == 0) ++zeros_before;
  int embedded = (zeros_before == 5 && groups[5] == 0xFFFF) || (zeros_before == 6 && groups[6] != 0) ||
                 (zeros_before == 4 && groups[4] == 0xFFFF && groups[5] == 0);
  int shown = embedded ? 6 : 8;
  // The first longest run of two or more zero groups becomes "::".
  int best_end = 0;
  int best_length = 1;
  for (int i = 0, run = 0; i < shown; ++i) {
    run = groups[i] ? 0 : run + 1;
    if (run > best_length) {
      best_length = run;
      best_end = i + 1;
    }
  }
  int best_start = best_length > 1 ? best_end - best_length : -1;
  for (int i = 0; i < shown; ++i) {
    if (i == best_start) {
      out += sprintf(out, "::");
      i = best_end - 1;
    } else {
      out += sprintf(out, i && i != best_end ? ":%x" : "%x", groups[i]);
    }
  }
  if (embedded) out = format_dotted(out + (best_end != 6 ? sprintf(out, ":") : 0), bytes + 12);
  return out;
}

void format_address(char *out, const NetAddress *address) {
  out = address->family == 4 ? format_dotted(out, address->bytes) : format_ipv6(out, address->bytes);
  if (address->prefix != kNoPrefix) out += sprintf(out, "/%u", address->prefix);
  if (address->family == 6 && address->bytes[0] == 0xFE && (address->bytes[1] & 0xC0) == 0x80)
    strcpy(out, kLinkLocalMark);
}

void format_mac(char *out, const uint8_t *bytes, unsigned length) {
  *out = '\0';
  for (unsigned i = 0; i < length && i < 8; ++i) out += sprintf(out, i ? "-%02X" : "%02X", bytes[i]);
}

void format_speed(char *out, uint64_t bits_per_second) {
  *out = '\0';
  if (bits_per_second == 0 || bits_per_second == ~(uint64_t)0) return;
  int megabits = bits_per_second % 1000000 == 0;
  format_u64(out, bits_per_second / (megabits ? 1000000 : 1000));
  strcpy(out + strlen(out), megabits ? " Mbit/s" : " kbit/s");
}

void format_utc_offset(char *out, long bias_minutes) {
  *out = '\0';
  if (bias_minutes > 24 * 60 || bias_minutes < -24 * 60) return;
  long offset = bias_minutes < 0 ? -bias_minutes : bias_minutes;
  sprintf(out, "%c%02ld:%02ld", bias_minutes > 0 ? '-' : '+', offset / 60, offset % 60);
}

void format_boot_time(char *out, const CalendarTime *now, uint64_t uptime_seconds) {
  *out = '\0';
  if (now->year < 1601 || now->year > 30827) return;
  int32_t days = days_from_civil((int32_t)now->year, now->month, now->day);
  uint32_t of_day = now->hour * 3600 + now->minute * 60 + now->second;
  uint64_t days_back = uptime_seconds / 86400;
  uint32_t rest = (uint32_t)(uptime_seconds - days_back * 86400);
  if (rest > of_day) {
    ++days_back;
    of_day += 86400;
  }
  // Nothing before 1601-01-01, where Windows' time begins.
  if (days_back > (uint64_t)(days - days_from_civil(1601, 1, 1))) return;
  of_day -= rest;
  int32_t year;
  unsigned month;
  unsigned day;
  civil_from_days(days - (int32_t)days_back, &year, &month, &day);
  sprintf(out, "%04d-%02u-%02uT%02u:%02u:%02u", (int)year, month, day, of_day / 3600, of_day / 60 % 60, of_day % 60);
}

const char *role_name(unsigned product_type, unsigned join_state) {
  if (product_type == 2) return kRoleDomainController;
  if ((product_type != 1 && product_type != 3) || join_state == kJoinStateUnknown || join_state > kJoinStateDomain)
    return kUnknown;
  int member = join_state == kJoinStateDomain;
  if (product_type == 1) return member ? kRoleMemberWorkstation : kRoleStandaloneWorkstation;
  return member ? kRoleMemberServer : kRoleStandaloneServer;
}

void format_adapter_type(char *out, unsigned if_type) {
  const char *name;
  switch (if_type) {
    case 6: name = "Ethernet"; break;
    case 9: name = "Token Ring"; break;
    case 23: name = "PPP"; break;
    case 71: name = "Wi-Fi"; break;
    case 144: name = "IEEE 1394"; break;
    case 243:
    case 244: name = "Mobile Broadband"; break;
    default: sprintf(out, "Other (%u)", if_type); return;
  }
  strcpy(out, name);
}

void format_locale(char *out, const char *language, const char *country, unsigned lcid) {
  *out = '\0';
  if (lcid) sprintf(out, *language ? "%.12s-%.12s (%04X)" : "%.0s%.0s%04X", language, country, lcid);
}

static char *fact_line(char *out, const char *label, const char *value) {
  char text[kNetTextSize];
  clean_text(text, sizeof text, value);
  return format_fact_line(out, label, text);
}

static const char *join_state_name(unsigned join_state) {
  switch (join_state) {
    case kJoinStateDomain: return kJoinDomain;
    case kJoinStateWorkgroup: return kJoinWorkgroup;
    case kJoinStateUnjoined: return kJoinNone;
    default: return kUnknown;
  }
}

void format_identity(char *buffer, const IdentityFacts *facts) {
  static const char *const kLabels[] = {kNetComputerName, kNetDnsHostName, kNetDnsDomain, kNetDomain,
                                        kNetJoinState,    kNetRole,        kNetTimeZone,  kNetUtcOffset,
                                        kNetBootTime,     kNetLastUser,    kNetCodePage,  kNetSystemLocale};
  char code_page[12] = "";
  if (facts->code_page) sprintf(code_page, "%u", facts->code_page);
  const char *values[] = {facts->computer_name,
                          facts->dns_host_name,
                          facts->dns_domain,
                          facts->domain,
                          join_state_name(facts->join_state),
                          role_name(facts->product_type, facts->join_state),
                          facts->time_zone,
                          facts->utc_offset,
                          facts->boot_time,
                          facts->last_user,
                          code_page,
                          facts->locale};
  char *out = format_block_title(buffer, kBlockIdentity);
  for (size_t i = 0; i < sizeof values / sizeof *values; ++i) out = fact_line(out, kLabels[i], values[i]);
}

int add_address(AddressList *list, const NetAddress *address) {
  if (list->count < 0) list->count = 0;
  if (list->count >= kMaxAddresses) return 0;
  list->items[list->count++] = *address;
  return 1;
}

// The lines of the addresses in list; one kNone line where it has none, one
// kUnknown line where it is unknown.
static char *format_addresses(char *out, const char *label, const AddressList *list) {
  for (int i = 0; i < list->count; ++i) {
    char text[kAddressTextSize];
    format_address(text, &list->items[i]);
    out = fact_line(out, label, text);
  }
  return list->count > 0 ? out : fact_line(out, label, list->count < 0 ? kUnknown : kNone);
}

void format_adapter(char *buffer, const AdapterFacts *adapter) {
  char text[kAddressTextSize] = "";
  char *out = fact_line(buffer, kNetAdapter, adapter->name);
  out = fact_line(out, kNetDescription, adapter->description);
  if (adapter->type) format_adapter_type(text, adapter->type);
  out = fact_line(out, kNetType, text);
  unsigned status = adapter->status;
  out = fact_line(out, kNetStatus, status == 1 ? kStatusUp : status == 0 || status == 4 ? kUnknown : kStatusDown);
  format_mac(text, adapter->mac, adapter->mac_length < 0 ? 0 : (unsigned)adapter->mac_length);
  out = fact_line(out, kNetMac, adapter->mac_length == 0 ? kNone : text);
  format_speed(text, adapter->speed);
  out = fact_line(out, kNetSpeed, text);
  out = format_addresses(out, kNetIpv4, &adapter->ipv4);
  out = format_addresses(out, kNetIpv6, &adapter->ipv6);
  out = format_addresses(out, kNetGateway, &adapter->gateways);
  out = format_addresses(out, kNetDnsServer, &adapter->dns_servers);
  out = fact_line(out, kNetDnsSuffix, adapter->dns_suffix);
  out = fact_line(out, kNetDhcp, adapter->dhcp == 1 ? kOn : adapter->dhcp == 0 ? kOff : kUnknown);
  text[0] = '\0';
  if (adapter->dhcp_server.family) format_address(text, &adapter->dhcp_server);
  fact_line(out, kNetDhcpServer, adapter->dhcp == 0 ? kNone : text);
}
