// Words that the report prints and sysreport-table reads back, each written
// once, here, so that the two programs cannot drift apart. Labels are bare:
// a block line is printf("%-22s: %s\n", label, value), as kLabelWidth says.
#pragma once

// A block line's label is padded with blanks to this width, then ": ".
static const int kLabelWidth = 22;

// What a fact reads where this Windows could not tell it, and where there is
// none of it.
static const char kUnknown[] = "Unknown";
static const char kNone[] = "None";

// The network section (-N): an Identity block, then an Adapters block of one
// group of lines per adapter, each group starting with its kNetAdapter line and
// groups apart by an empty line. Address, gateway and DNS server lines repeat,
// one a value; kNone where the adapter has none. An Adapters block holding the
// one line "Adapter : Unknown" means this Windows cannot list adapters, and
// "Adapter : None" that it has none but loopback and tunnels.
static const char kTitleNetwork[] = "Network Information";
static const char kBlockIdentity[] = "Identity";
static const char kNetComputerName[] = "Computer Name";
static const char kNetDnsHostName[] = "DNS Host Name";
static const char kNetDnsDomain[] = "DNS Domain";
static const char kNetDomain[] = "Domain";
static const char kNetJoinState[] = "Join State";
static const char kNetRole[] = "Role";
static const char kNetTimeZone[] = "Time Zone";
static const char kNetUtcOffset[] = "UTC Offset";
static const char kNetBootTime[] = "Boot Time";
static const char kNetLastUser[] = "Last User";
static const char kNetCodePage[] = "Code Page";
static const char kNetSystemLocale[] = "System Locale";
static const char kBlockAdapters[] = "Adapters";
static const char kNetAdapter[] = "Adapter";
static const char kNetDescription[] = "Description";
static const char kNetType[] = "Type";
static const char kNetStatus[] = "Status";
static const char kNetMac[] = "MAC Address";
static const char kNetSpeed[] = "Speed";
static const char kNetIpv4[] = "IPv4 Address";
static const char kNetIpv6[] = "IPv6 Address";
static const char kNetGateway[] = "Gateway";
static const char kNetDnsServer[] = "DNS Server";
static const char kNetDnsSuffix[] = "DNS Suffix";
static const char kNetDhcp[] = "DHCP";
static const char kNetDhcpServer[] = "DHCP Server";
// Join states.
static const char kJoinDomain[] = "Domain";
static const char kJoinWorkgroup[] = "Workgroup";
static const char kJoinNone[] = "Not joined";
// Roles.
static const char kRoleStandaloneWorkstation[] = "Standalone Workstation";
static const char kRoleMemberWorkstation[] = "Member Workstation";
static const char kRoleStandaloneServer[] = "Standalone Server";
static const char kRoleMemberServer[] = "Member Server";
static const char kRoleDomainController[] = "Domain Controller";
// Adapter status, DHCP state, and the mark after a link-local IPv6 address
// ("fe80::1/64 (link-local)").
static const char kStatusUp[] = "Up";
static const char kStatusDown[] = "Down";
static const char kOn[] = "On";
static const char kOff[] = "Off";
static const char kLinkLocalMark[] = " (link-local)";

// The programs section (-P): a Windows block (kProgramsWindows), then a
// Programs and an Updates block, each a header line and one line a program or
// update, its fields apart by kFieldSeparator. No field holds a control
// character (they show as '.'), so a tab never stands inside one.
static const char kTitlePrograms[] = "Programs and Updates";
static const char kBlockWindows[] = "Windows";
static const char kProgDisplayVersion[] = "Display Version";  // 22H2, 1809; kUnknown before Windows 10
static const char kProgBuild[] = "Build";                     // 19045.3803 (with the update revision), 7601
static const char kProgServicePack[] = "Service Pack";        // kNone where none is installed
static const char kProgPrograms[] = "Programs";               // how many lines the Programs block has
static const char kProgUpdates[] = "Updates";                 // how many the Updates block has
static const char kProgLatestUpdate[] = "Latest Update";      // YYYY-MM-DD; kNone, or kUnknown without dates
static const char kBlockPrograms[] = "Programs";
static const char kBlockUpdates[] = "Updates";
static const char kFieldSeparator = '\t';
// The header lines of the two lists; the fields of each line in this order.
// Installed dates are YYYY-MM-DD or kUnknown; Bits kBits32 or kBits64; Scope
// kScopeMachine, or the account (DOMAIN\name, or its SID where it has none)
// whose loaded hive lists the program.
static const char kProgramsHeader[] = "Name\tVersion\tPublisher\tInstalled\tBits\tScope";
static const char kUpdatesHeader[] = "KB\tInstalled\tSource\tName";
static const char kBits32[] = "32-bit";
static const char kBits64[] = "64-bit";
static const char kScopeMachine[] = "Machine";
// Where an update was found: Component Based Servicing (Vista on), the Hotfix
// key (2000 to 2003), an Uninstall entry that Programs and Features shows
// among the updates.
static const char kSourceCbs[] = "CBS";
static const char kSourceHotfix[] = "Hotfix";
static const char kSourceUninstall[] = "Uninstall";
