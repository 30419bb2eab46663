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

// The start and end of every report, and the section titles of -O, -S, -D, -U
// and -H (each between two rows of stars, as the titles above).
static const char kBannerProduct[] = " QUORVEL v";
static const char kTotalTime[] = "Total time taken: ";
static const char kTitleOs[] = "Operating System Information";
static const char kTitleDrives[] = "Drive Information";
static const char kTitleDevices[] = "Devices";
static const char kTitleUsers[] = "User Accounts";
static const char kTitleHardware[] = "Hardware Information";

// The OS section (-O): its labels end in tabs, as printed.
static const char kOsCurrentUser[] = "Current User:\t\t";
static const char kOsUptime[] = "System Uptime:\t\t";
static const char kOsName[] = "Operating System:\t";
static const char kOsServicePack[] = "Service Pack:\t\t";
static const char kOsBuildType[] = "Build Type:\t\t";
static const char kOsOwner[] = "Reg Name:\t\t";
static const char kOsOrganisation[] = "Reg Org.:\t\t";
static const char kOsProductId[] = "Product ID:\t\t";
static const char kOsSystemRoot[] = "System Root:\t\t";
static const char kOsCurrentTime[] = "Current Time:\t\t";
static const char kOsInstallTime[] = "Install Time:\t\t";
// A registry text of the section could not be read; printed before its block.
static const char kRegError[] = "Reg Error XR1";

// The drive section (-S): a block per drive under "Drive X" between rows of
// '=', or its one line kDriveNoMedia "(TYPE)".
static const char kDriveTitle[] = "Drive ";
static const char kDriveNoMedia[] = "No media present (";
static const char kDriveType[] = "Type";
static const char kDriveLabel[] = "Volume Label";
static const char kDriveSerial[] = "Volume Serial";
static const char kDriveFileSystem[] = "File System";
static const char kDriveSectors[] = "Sectors per cluster";
static const char kDriveBytesPerSector[] = "Bytes per sector";
static const char kDriveFreeClusters[] = "Free clusters";
static const char kDriveUsedClusters[] = "Used clusters";
static const char kDriveTotalClusters[] = "Total clusters";
static const char kDriveSpaceFree[] = "Space free";
static const char kDriveSpaceUsed[] = "Space used";
static const char kDriveTotalSpace[] = "Total space";
static const char kDriveNoLabel[] = "(No Label)";
static const char kDriveHard[] = "Hard Drive";

// The devices section (-D): its error lines, each followed by a figure.
static const char kClassTooLong[] = "Not enough...Required size is ";
static const char kBadClass[] = "Bad class...";

// The users section (-U): "User:\t\tNAME (PRIVILEGE)", the flag lines (the
// first after kAccountFlagsLabel, the others after kAccountFlagIndent), then the
// figures. kNue and the status stand alone where the enumeration failed.
static const char kAccountUser[] = "User:\t\t";
static const char kAccountFlagsLabel[] = "Flags: ";
static const char kAccountFlagIndent[] = "\t\t";
static const char kAccountPasswordAge[] = "Password Age:\t";
static const char kAccountBadPasswords[] = "Bad Passwords:\t";
static const char kAccountLogons[] = "Total Logons:\t";
static const char kAccountLastLogon[] = "Last Logon:\t";
static const char kAccountNever[] = "Never";
static const char kAccountExpired[] = "*** Password has expired ***";
static const char kAccountAdmin[] = "Admin";
static const char kNue[] = "NUE() returned ";
// The flag texts, in the order they print.
static const char kFlagDisabled[] = "Account is disabled";
static const char kFlagNoPassword[] = "Account has no password";
static const char kFlagCannotChange[] = "Password cannot be changed by user";
static const char kFlagLocked[] = "Account is locked";
static const char kFlagNeverExpires[] = "Account password does not expire";
static const char kFlagDelegation[] = "Trusted for delegation";
static const char kFlagExpired[] = "Account password has expired";
static const char kFlagAuthDelegation[] = "Trusted to authenticate for delegation";

// The hardware section (-H): its blocks and the labels the table reads.
static const char kBlockMachine[] = "Machine";
static const char kBlockBios[] = "BIOS";
static const char kBlockBaseboard[] = "Baseboard";
static const char kBlockProcessors[] = "Processors";
static const char kBlockMemory[] = "Memory";
static const char kHwManufacturer[] = "Manufacturer";
static const char kHwModel[] = "Model";
static const char kHwSerial[] = "Serial Number";
static const char kHwProcessorName[] = "Name";
static const char kHwLogical[] = "Logical Processors";
static const char kHwInstalled[] = "Installed";
