#include "network/network.h"

#include <stddef.h>

#include "network/network_text.h"
#include "report/binding.h"
#include "report/report.h"
#include "report/words.h"

// The structures of GetAdaptersAddresses as Vista and later give them, for
// WINVER 0x0400 headers. Each begins with its own length: XP's are shorter,
// and a field is read only where that length covers it.
struct SocketAddress {
  const uint8_t *address;
  INT length;
};
struct alignas(8) AddressEntry {  // the unicast, DNS server, gateway and prefix entries
  ULONG Length;
  DWORD Flags;
  AddressEntry *Next;
  SocketAddress Address;
  ULONG PrefixLength;  // a prefix entry's
};
struct alignas(8) UnicastEntry {
  ULONG Length;
  DWORD Flags;
  UnicastEntry *Next;
  SocketAddress Address;
  int PrefixOrigin, SuffixOrigin, DadState;
  ULONG ValidLifetime, PreferredLifetime, LeaseLifetime;
  UINT8 OnLinkPrefixLength;  // Vista on
};
struct alignas(8) AdapterEntry {
  ULONG Length;
  DWORD IfIndex;
  AdapterEntry *Next;
  char *AdapterName;
  UnicastEntry *FirstUnicastAddress;
  AddressEntry *FirstAnycastAddress, *FirstMulticastAddress, *FirstDnsServerAddress;
  const WCHAR *DnsSuffix, *Description, *FriendlyName;
  BYTE PhysicalAddress[8];
  ULONG PhysicalAddressLength;
  ULONG Flags, Mtu, IfType;
  int OperStatus;
  ULONG Ipv6IfIndex, ZoneIndices[16];  // XP SP1 on
  AddressEntry *FirstPrefix;
  ULONG64 TransmitLinkSpeed, ReceiveLinkSpeed;  // Vista on
  AddressEntry *FirstWinsServerAddress, *FirstGatewayAddress;
  ULONG Ipv4Metric, Ipv6Metric;
  ULONG64 Luid;
  SocketAddress Dhcpv4Server;
};
// GetAdaptersInfo's (98 on), up to the fields read.
struct AddressString {
  AddressString *Next;
  char IpAddress[16];
  char IpMask[16];
  DWORD Context;
};
struct AdapterInfo {
  AdapterInfo *Next;
  DWORD ComboIndex;
  char AdapterName[260];
  char Description[132];
  UINT AddressLength;
  BYTE Address[8];
  DWORD Index;
  UINT Type;
  UINT DhcpEnabled;
  AddressString *CurrentIpAddress;
  AddressString IpAddressList, GatewayList, DhcpServer;
};
// Whether structure *s reports a length that holds field.
#define COVERS(s, field) ((s)->Length >= offsetof(__typeof__(*(s)), field) + sizeof((s)->field))

static const ULONG kSkipAnycastAndMulticast = 0x2 | 0x4;
static const ULONG kIncludeGateways = 0x80;  // Vista on
static const ULONG kDhcpEnabled = 0x4;
static const DWORD kLoopbackType = 24;
static const DWORD kTunnelType = 131;
// A list longer than this is taken as a fault of the list and ends its walk.
static const int kMaxAdapters = 200;
// Far beyond any adapter list: a larger answer is taken as a fault.
static const ULONG kMaxListBytes = 4u << 20;
// A list that keeps growing between the calls is asked for this many times.
static const int kListTries = 4;

// The functions that not every Windows has: kernel32's, iphlpapi's (98 and
// NT 4.0 SP4 on) and netapi32's, in the order of kFunctionNames.
enum {
  kComputerNameEx,
  kDynamicTimeZone,
  kTimeZone,
  kLocalTime,
  kTickCount64,
  kAnsiCodePage,
  kSystemLcid,
  kLocaleInfo,
  kIsWow64Process,
  kAdaptersAddresses,
  kAdaptersInfo,
  kJoinInformation,
  kBufferFree,
  kFunctionCount
};
static const char kFunctionNames[] =
    "GetComputerNameExA\0GetDynamicTimeZoneInformation\0GetTimeZoneInformation\0GetLocalTime\0GetTickCount64\0"
    "GetACP\0GetSystemDefaultLCID\0GetLocaleInfoA\0IsWow64Process\0"
    "GetAdaptersAddresses\0GetAdaptersInfo\0"
    "NetGetJoinInformation\0NetApiBufferFree";
static void (*g_functions[kFunctionCount])(void);

static void bind_functions(void) {
  HMODULE dlls[] = {GetModuleHandleA(kKernel32Dll), load_system_dll("iphlpapi.dll"), load_system_dll("netapi32.dll")};
  const char *name = kFunctionNames;
  for (int i = 0; i < kFunctionCount; name += strlen(name) + 1, ++i)
    look_up(dlls[i < kAdaptersAddresses ? 0 : i < kJoinInformation ? 1 : 2], name, &g_functions[i]);
}

// The function bound at index, as its own type; NULL where Windows lacks it.
template <typename Function>
Function bound(int index) {
  return reinterpret_cast<Function>(g_functions[index]);
}

typedef ULONG(WINAPI *AdaptersAddressesFunction)(ULONG, ULONG, PVOID, AdapterEntry *, PULONG);
typedef DWORD(WINAPI *AdaptersInfoFunction)(AdapterInfo *, PULONG);
typedef BOOL(WINAPI *NameFunction)(int, LPSTR, LPDWORD);

// What one of the list queries asks: its own arguments in context, the
// buffer and its size.
typedef ULONG (*ListQuery)(const void *context, BYTE *buffer, ULONG *size);

// The answer of a query that says how large a buffer it needs, from the heap
// (the caller frees it), or NULL with *status the failure. The buffer is
// grown and the query asked again a bounded number of times: the answer may
// grow between two calls.
static BYTE *ask_list(ListQuery query, const void *context, ULONG *status) {
  ULONG size = 16384;
  *status = ERROR_BUFFER_OVERFLOW;
  for (int tries = 0; tries < kListTries && *status == ERROR_BUFFER_OVERFLOW; ++tries) {
    BYTE *buffer = size <= kMaxListBytes ? (BYTE *)LocalAlloc(LMEM_FIXED, size) : NULL;
    if (!buffer) {
      *status = ERROR_NOT_ENOUGH_MEMORY;
      break;
    }
    ULONG wanted = size;
    *status = query(context, buffer, &wanted);
    if (*status == ERROR_SUCCESS) return buffer;
    LocalFree(buffer);
    // A size no larger than the one refused would be refused again.
    size = wanted > size ? wanted : size * 2;
  }
  return NULL;
}

// Writes a wide text in the ANSI code page ('?' for what it lacks), control
// characters as '.', cut to kNetTextSize bytes.
static void to_ansi(const WCHAR *wide, char *out) {
  int units = 0;
  while (wide && units < kNetTextSize - 1 && wide[units]) ++units;
  char text[3 * kNetTextSize];
  // No best fit: a name that the code page cannot show reads '?', not a
  // look-alike (Windows 95 to NT 4.0 know no such flag).
  int written = 0;
  if (units &&
      !(written = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide, units, text, sizeof text - 1, NULL, NULL)))
    written = WideCharToMultiByte(CP_ACP, 0, wide, units, text, sizeof text - 1, NULL, NULL);
  text[written] = '\0';
  clean_text(out, kNetTextSize, text);
}

static void add_socket_address(AddressList *list, const SocketAddress *socket_address) {
  NetAddress address;
  if (read_socket_address(socket_address->address, (size_t)socket_address->length, &address))
    add_address(list, &address);
}

// The list from entries, at most kMaxAddresses of them.
static void read_entries(AddressList *list, const AddressEntry *entry) {
  list->count = 0;
  for (int n = 0; entry && n < kMaxAddresses; entry = entry->Next, ++n) add_socket_address(list, &entry->Address);
}

// XP gives no prefix length with an address: the longest of the adapter's
// prefixes that holds the address and is shorter than a whole address.
static uint8_t prefix_from_list(const AdapterEntry *adapter, const NetAddress *address) {
  uint8_t best = kNoPrefix;
  if (!COVERS(adapter, FirstPrefix)) return best;
  const AddressEntry *prefix = adapter->FirstPrefix;
  for (int n = 0; prefix && n < kMaxAddresses && COVERS(prefix, PrefixLength); prefix = prefix->Next, ++n) {
    NetAddress start;
    ULONG bits = prefix->PrefixLength;
    if (read_socket_address(prefix->Address.address, (size_t)prefix->Address.length, &start) &&
        bits < (address->family == 4 ? 32u : 128u) && (best == kNoPrefix || bits > best) &&
        prefix_contains(&start, bits, address))
      best = (uint8_t)bits;
  }
  return best;
}

// Gateways are listed only where they were asked for (Vista on).
static void read_adapter_entry(const AdapterEntry *entry, AdapterFacts *adapter, int gateways_asked) {
  to_ansi(entry->FriendlyName, adapter->name);
  to_ansi(entry->Description, adapter->description);
  to_ansi(entry->DnsSuffix, adapter->dns_suffix);
  if (!adapter->dns_suffix[0]) strcpy(adapter->dns_suffix, kNone);
  adapter->type = entry->IfType;
  adapter->status = entry->OperStatus;
  adapter->mac_length = entry->PhysicalAddressLength < 8 ? (int)entry->PhysicalAddressLength : 8;
  memcpy(adapter->mac, entry->PhysicalAddress, sizeof adapter->mac);
  const UnicastEntry *unicast = entry->FirstUnicastAddress;
  for (int n = 0; unicast && n < 2 * kMaxAddresses; unicast = unicast->Next, ++n) {
    NetAddress address;
    if (!read_socket_address(unicast->Address.address, (size_t)unicast->Address.length, &address)) continue;
    address.prefix =
        COVERS(unicast, OnLinkPrefixLength) ? unicast->OnLinkPrefixLength : prefix_from_list(entry, &address);
    add_address(address.family == 4 ? &adapter->ipv4 : &adapter->ipv6, &address);
  }
  read_entries(&adapter->dns_servers, entry->FirstDnsServerAddress);
  adapter->dhcp = (entry->Flags & kDhcpEnabled) != 0;
  if (!COVERS(entry, Dhcpv4Server)) return;
  // The larger of the two speeds: a link's figure is its downstream's.
  adapter->speed =
      entry->TransmitLinkSpeed > entry->ReceiveLinkSpeed ? entry->TransmitLinkSpeed : entry->ReceiveLinkSpeed;
  if (gateways_asked) read_entries(&adapter->gateways, entry->FirstGatewayAddress);
  if (entry->Dhcpv4Server.address)
    read_socket_address(entry->Dhcpv4Server.address, (size_t)entry->Dhcpv4Server.length, &adapter->dhcp_server);
}

static void clear_adapter(AdapterFacts *adapter) {
  memset(adapter, 0, sizeof *adapter);
  adapter->gateways.count = -1;
  adapter->dns_servers.count = -1;
}

static void print_adapter(const AdapterFacts *adapter, int *printed) {
  static char block[kAdapterBlockSize];
  format_adapter(block, adapter);
  printf(*printed ? "\n%s" : "%s", block);
  ++*printed;
}

struct AddressesQuery {
  ULONG flags;
};

static ULONG query_addresses(const void *context, BYTE *buffer, ULONG *size) {
  ULONG flags = ((const AddressesQuery *)context)->flags;
  return bound<AdaptersAddressesFunction>(kAdaptersAddresses)(0 /* AF_UNSPEC */, flags, NULL, (AdapterEntry *)buffer,
                                                              size);
}

// The adapters of GetAdaptersAddresses (XP on). Returns how many were
// printed, or -1 where the list cannot be had.
static int print_adapter_addresses(AdapterFacts *adapter, int vista) {
  if (!g_functions[kAdaptersAddresses]) return -1;
  AddressesQuery query = {kSkipAnycastAndMulticast | (vista ? kIncludeGateways : 0)};
  ULONG status;
  BYTE *list = ask_list(query_addresses, &query, &status);
  if (!list) return status == ERROR_NO_DATA ? 0 : -1;
  int printed = 0;
  const AdapterEntry *entry = (const AdapterEntry *)list;
  for (int n = 0; entry && n < kMaxAdapters && COVERS(entry, OperStatus); entry = entry->Next, ++n) {
    if (entry->IfType == kLoopbackType || entry->IfType == kTunnelType) continue;
    clear_adapter(adapter);
    read_adapter_entry(entry, adapter, vista);
    print_adapter(adapter, &printed);
  }
  LocalFree(list);
  return printed;
}

// Adds the dotted-decimal address (and mask) of an AddressString list, those
// reading 0.0.0.0 left out.
static void read_address_strings(AddressList *list, const AddressString *item, int with_prefix) {
  list->count = 0;
  for (int n = 0; item && n < kMaxAddresses; item = item->Next, ++n) {
    NetAddress address = {4, kNoPrefix, {0}};
    uint8_t mask[4];
    char text[sizeof item->IpAddress];
    clean_text(text, sizeof text, item->IpAddress);
    if (!parse_ipv4(text, address.bytes) ||
        !(address.bytes[0] | address.bytes[1] | address.bytes[2] | address.bytes[3]))
      continue;
    clean_text(text, sizeof text, item->IpMask);
    if (with_prefix && parse_ipv4(text, mask)) address.prefix = mask_prefix(mask);
    add_address(list, &address);
  }
}

static ULONG query_info(const void *, BYTE *buffer, ULONG *size) {
  return bound<AdaptersInfoFunction>(kAdaptersInfo)((AdapterInfo *)buffer, size);
}

// The adapters of GetAdaptersInfo (98, ME, NT 4.0 SP4, 2000): IPv4 only, no
// IPv6, status, speed, DNS servers or suffix. Returns how many were printed, or -1.
static int print_adapter_info(AdapterFacts *adapter) {
  if (!g_functions[kAdaptersInfo]) return -1;
  ULONG status;
  BYTE *list = ask_list(query_info, NULL, &status);
  if (!list) return status == ERROR_NO_DATA ? 0 : -1;
  int printed = 0;
  const AdapterInfo *info = (const AdapterInfo *)list;
  for (int n = 0; info && n < kMaxAdapters; info = info->Next, ++n) {
    if (info->Type == kLoopbackType) continue;
    clear_adapter(adapter);
    clean_text(adapter->name, kNetTextSize, info->AdapterName);
    clean_text(adapter->description, sizeof info->Description, info->Description);
    adapter->type = info->Type;
    adapter->mac_length = info->AddressLength < 8 ? (int)info->AddressLength : 8;
    memcpy(adapter->mac, info->Address, sizeof adapter->mac);
    adapter->ipv6.count = -1;
    read_address_strings(&adapter->ipv4, &info->IpAddressList, 1);
    read_address_strings(&adapter->gateways, &info->GatewayList, 0);
    adapter->dhcp = info->DhcpEnabled != 0;
    AddressList server;
    read_address_strings(&server, &info->DhcpServer, 0);
    if (server.count > 0) adapter->dhcp_server = server.items[0];
    print_adapter(adapter, &printed);
  }
  LocalFree(list);
  return printed;
}

static const char kWinlogonKey[] = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon";

// Reads a text value of HKEY_LOCAL_MACHINE\path into text (kNetTextSize
// bytes). Returns 1, or 0 when it cannot be read.
static int read_text_value(const char *path, const char *value_name, char *text, REGSAM access) {
  HKEY key;
  text[0] = '\0';
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path, 0, access, &key) != ERROR_SUCCESS) return 0;
  DWORD size = kNetTextSize - 1;
  LONG result = RegQueryValueExA(key, value_name, NULL, NULL, (LPBYTE)text, &size);
  RegCloseKey(key);
  // A value of the buffer's size arrives without its NUL.
  if (result != ERROR_SUCCESS || size >= kNetTextSize) size = 0;
  text[size] = '\0';
  clean_text(text, kNetTextSize, text);
  return size != 0;
}

// Under WOW64 the native view of HKLM\Software, where Windows keeps the logon
// facts; Windows 2000 and older know no such flag.
static REGSAM software_access(void) {
  typedef BOOL(WINAPI * IsWow64ProcessFunction)(HANDLE, PBOOL);
  IsWow64ProcessFunction is_wow64_process = bound<IsWow64ProcessFunction>(kIsWow64Process);
  BOOL wow64 = FALSE;
  if (is_wow64_process && is_wow64_process((HANDLE)(LONG_PTR)-1, &wow64) && wow64)
    return KEY_QUERY_VALUE | KEY_WOW64_64KEY;
  return KEY_QUERY_VALUE;
}

// The account that last logged on: LogonUI's (Vista on), Winlogon's default
// (NT), the network logon's (9x).
static void read_last_user(char *user) {
  REGSAM access = software_access();
  if (read_text_value("SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Authentication\\LogonUI", "LastLoggedOnUser", user,
                      access) &&
      user[0])
    return;
  char domain[kNetTextSize];
  char name[kNetTextSize];
  if (read_text_value(kWinlogonKey, "DefaultUserName", name, access) && name[0]) {
    read_text_value(kWinlogonKey, "DefaultDomainName", domain, access);
    sprintf(user, domain[0] ? "%.120s\\%.120s" : "%.0s%.120s", domain, name);
    return;
  }
  read_text_value("Network\\Logon", "username", user, KEY_QUERY_VALUE);
}

// The domain or workgroup and the join state: NetGetJoinInformation (2000
// on), else the workgroup that Windows 9x keeps, else the domain name that
// NT 4.0's logon keeps (whether joined or not, it does not say).
static void read_join(IdentityFacts *facts) {
  typedef NET_API_STATUS(NET_API_FUNCTION * JoinFunction)(LPCWSTR, LPWSTR *, NETSETUP_JOIN_STATUS *);
  typedef NET_API_STATUS(NET_API_FUNCTION * FreeFunction)(LPVOID);
  JoinFunction join = bound<JoinFunction>(kJoinInformation);
  FreeFunction buffer_free = bound<FreeFunction>(kBufferFree);
  LPWSTR name = NULL;
  NETSETUP_JOIN_STATUS state = NetSetupUnknownStatus;
  if (join && buffer_free && join(NULL, &name, &state) == NERR_Success) {
    to_ansi(name, facts->domain);
    buffer_free(name);
    facts->join_state = state;
  } else if (read_text_value("System\\CurrentControlSet\\Services\\VxD\\VNETSUP", "Workgroup", facts->domain,
                             KEY_QUERY_VALUE)) {
    // Only Windows 9x keeps it there: a workstation.
    facts->join_state = kJoinStateWorkgroup;
    facts->product_type = VER_NT_WORKSTATION;
  } else {
    read_text_value(kWinlogonKey, "CachePrimaryDomain", facts->domain, KEY_QUERY_VALUE);
  }
  if (!facts->domain[0] && facts->join_state == kJoinStateUnjoined) strcpy(facts->domain, kNone);
}

// The NetBIOS name (0), DNS host name (1) or DNS domain (2) of
// GetComputerNameExA (2000 on); the NetBIOS name of GetComputerNameA before.
// kNone for a domain that is empty.
static void read_computer_name(int kind, char *text) {
  NameFunction computer_name_ex = bound<NameFunction>(kComputerNameEx);
  DWORD size = kNetTextSize;
  if (computer_name_ex ? computer_name_ex(kind, text, &size) : kind == 0 && GetComputerNameA(text, &size)) {
    text[kNetTextSize - 1] = '\0';
    clean_text(text, kNetTextSize, text[0] || kind != 2 ? text : kNone);
  } else {
    text[0] = '\0';
  }
}

// The time zone's name, its offset now, and the boot time in that offset.
static void read_time(IdentityFacts *facts) {
  // TIME_ZONE_INFORMATION and the key name of Vista's dynamic form.
  struct {
    TIME_ZONE_INFORMATION zone;
    WCHAR key_name[128];
    BOOLEAN dynamic_daylight_time_disabled;
  } zone;
  typedef DWORD(WINAPI * ZoneFunction)(void *);
  ZoneFunction dynamic_zone = bound<ZoneFunction>(kDynamicTimeZone);
  ZoneFunction plain_zone = bound<ZoneFunction>(kTimeZone);
  memset(&zone, 0, sizeof zone);
  DWORD id = dynamic_zone ? dynamic_zone(&zone) : plain_zone ? plain_zone(&zone.zone) : TIME_ZONE_ID_INVALID;
  if (id != TIME_ZONE_ID_INVALID) {
    zone.key_name[127] = 0;
    zone.zone.StandardName[31] = 0;
    to_ansi(zone.key_name[0] ? zone.key_name : zone.zone.StandardName, facts->time_zone);
    LONG bias = zone.zone.Bias + (id == TIME_ZONE_ID_DAYLIGHT   ? zone.zone.DaylightBias
                                  : id == TIME_ZONE_ID_STANDARD ? zone.zone.StandardBias
                                                                : 0);
    format_utc_offset(facts->utc_offset, bias);
  }
  typedef void(WINAPI * LocalTimeFunction)(SYSTEMTIME *);
  typedef ULONGLONG(WINAPI * TickCount64Function)(void);
  LocalTimeFunction local_time = bound<LocalTimeFunction>(kLocalTime);
  TickCount64Function tick_count64 = bound<TickCount64Function>(kTickCount64);
  if (!local_time) return;
  SYSTEMTIME now;
  local_time(&now);
  // The 32-bit count before Vista wraps after 49.7 days.
  uint64_t uptime = tick_count64 ? tick_count64() : GetTickCount();
  CalendarTime calendar = {now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond};
  format_boot_time(facts->boot_time, &calendar, uptime / 1000);
}

static void read_locale(IdentityFacts *facts) {
  typedef UINT(WINAPI * CodePageFunction)(void);
  typedef LCID(WINAPI * LcidFunction)(void);
  typedef int(WINAPI * LocaleInfoFunction)(LCID, LCTYPE, LPSTR, int);
  CodePageFunction acp = bound<CodePageFunction>(kAnsiCodePage);
  LcidFunction system_lcid = bound<LcidFunction>(kSystemLcid);
  LocaleInfoFunction locale_info = bound<LocaleInfoFunction>(kLocaleInfo);
  facts->code_page = acp ? acp() : 0;
  LCID lcid = system_lcid ? system_lcid() : 0;
  char language[16] = "";
  char country[16] = "";
  // LOCALE_SISO639LANGNAME and LOCALE_SISO3166CTRYNAME (98 and NT 4.0 on).
  if (locale_info &&
      (!locale_info(lcid, 0x59, language, sizeof language) || !locale_info(lcid, 0x5A, country, sizeof country))) {
    language[0] = '\0';
    country[0] = '\0';
  }
  language[sizeof language - 1] = '\0';
  country[sizeof country - 1] = '\0';
  format_locale(facts->locale, language, country, lcid);
}

int report_network(void) {
  print_heading(kTitleNetwork);
  bind_functions();
  static IdentityFacts facts;
  memset(&facts, 0, sizeof facts);
  // The 9x family and NT 4.0 before SP6 reject the extended size.
  OSVERSIONINFOEXA version;
  memset(&version, 0, sizeof version);
  version.dwOSVersionInfoSize = sizeof version;
  if (GetVersionExA((LPOSVERSIONINFOA)&version)) facts.product_type = version.wProductType;

  read_computer_name(0, facts.computer_name);
  read_computer_name(1, facts.dns_host_name);
  read_computer_name(2, facts.dns_domain);
  read_join(&facts);
  read_time(&facts);
  read_last_user(facts.last_user);
  read_locale(&facts);
  char block[kIdentityBlockSize];
  format_identity(block, &facts);
  printf("%s\n", block);

  char title[32];
  format_block_title(title, kBlockAdapters);
  printf("%s", title);
  static AdapterFacts adapter;
  int printed = print_adapter_addresses(&adapter, version.dwMajorVersion >= 6);
  if (printed < 0) printed = print_adapter_info(&adapter);
  if (printed <= 0) {
    char line[64];
    format_fact_line(line, kNetAdapter, printed < 0 ? kUnknown : kNone);
    printf("%s", line);
  }
  return 0;
}
