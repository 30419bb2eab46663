// Words that the report prints and sysreport-table reads back, each written
// once, here, so that the two programs cannot drift apart. Labels are bare:
// a block line is printf("%-22s: %s\n", label, value), as kLabelWidth says.
#pragma once

// A block line's label is padded with blanks to this width, then ": ".
inline constexpr int kLabelWidth = 22;

// What a fact reads where this Windows could not tell it, and where there is
// none of it.
inline constexpr char kUnknown[] = "Unknown";
inline constexpr char kNone[] = "None";

// The network section (-N): an Identity block, then an Adapters block of one
// group of lines per adapter, each group starting with its kNetAdapter line and
// groups apart by an empty line. Address, gateway and DNS server lines repeat,
// one a value; kNone where the adapter has none. An Adapters block holding the
// one line "Adapter : Unknown" means this Windows cannot list adapters, and
// "Adapter : None" that it has none but loopback and tunnels.
inline constexpr char kTitleNetwork[] = "Network Information";
inline constexpr char kBlockIdentity[] = "Identity";
inline constexpr char kNetComputerName[] = "Computer Name";
inline constexpr char kNetDnsHostName[] = "DNS Host Name";
inline constexpr char kNetDnsDomain[] = "DNS Domain";
inline constexpr char kNetDomain[] = "Domain";
inline constexpr char kNetJoinState[] = "Join State";
inline constexpr char kNetRole[] = "Role";
inline constexpr char kNetTimeZone[] = "Time Zone";
inline constexpr char kNetUtcOffset[] = "UTC Offset";
inline constexpr char kNetBootTime[] = "Boot Time";
inline constexpr char kNetLastUser[] = "Last User";
inline constexpr char kNetCodePage[] = "Code Page";
inline constexpr char kNetSystemLocale[] = "System Locale";
inline constexpr char kBlockAdapters[] = "Adapters";
inline constexpr char kNetAdapter[] = "Adapter";
inline constexpr char kNetDescription[] = "Description";
inline constexpr char kNetType[] = "Type";
inline constexpr char kNetStatus[] = "Status";
inline constexpr char kNetMac[] = "MAC Address";
inline constexpr char kNetSpeed[] = "Speed";
inline constexpr char kNetIpv4[] = "IPv4 Address";
inline constexpr char kNetIpv6[] = "IPv6 Address";
inline constexpr char kNetGateway[] = "Gateway";
inline constexpr char kNetDnsServer[] = "DNS Server";
inline constexpr char kNetDnsSuffix[] = "DNS Suffix";
inline constexpr char kNetDhcp[] = "DHCP";
inline constexpr char kNetDhcpServer[] = "DHCP Server";
// Join states.
inline constexpr char kJoinDomain[] = "Domain";
inline constexpr char kJoinWorkgroup[] = "Workgroup";
inline constexpr char kJoinNone[] = "Not joined";
// Roles.
inline constexpr char kRoleStandaloneWorkstation[] = "Standalone Workstation";
inline constexpr char kRoleMemberWorkstation[] = "Member Workstation";
inline constexpr char kRoleStandaloneServer[] = "Standalone Server";
inline constexpr char kRoleMemberServer[] = "Member Server";
inline constexpr char kRoleDomainController[] = "Domain Controller";
// Adapter status, DHCP state, and the mark after a link-local IPv6 address
// ("fe80::1/64 (link-local)").
inline constexpr char kStatusUp[] = "Up";
inline constexpr char kStatusDown[] = "Down";
inline constexpr char kOn[] = "On";
inline constexpr char kOff[] = "Off";
inline constexpr char kLinkLocalMark[] = " (link-local)";

// The programs section (-P): a Windows block (kProgramsWindows), then a
// Programs and an Updates block, each a header line and one line a program or
// update, its fields apart by kFieldSeparator. No field holds a control
// character (they show as '.'), so a tab never stands inside one.
inline constexpr char kTitlePrograms[] = "Programs and Updates";
inline constexpr char kBlockWindows[] = "Windows";
inline constexpr char kProgDisplayVersion[] = "Display Version";  // 22H2, 1809; kUnknown before Windows 10
inline constexpr char kProgBuild[] = "Build";                     // 19045.3803 (with the update revision), 7601
inline constexpr char kProgServicePack[] = "Service Pack";        // kNone where none is installed
inline constexpr char kProgPrograms[] = "Programs";               // how many lines the Programs block has
inline constexpr char kProgUpdates[] = "Updates";                 // how many the Updates block has
inline constexpr char kProgLatestUpdate[] = "Latest Update";      // YYYY-MM-DD; kNone, or kUnknown without dates
inline constexpr char kBlockPrograms[] = "Programs";
inline constexpr char kBlockUpdates[] = "Updates";
inline constexpr char kFieldSeparator = '\t';
// The header lines of the two lists; the fields of each line in this order.
// Installed dates are YYYY-MM-DD or kUnknown; Bits kBits32 or kBits64; Scope
// kScopeMachine, or the account (DOMAIN\name, or its SID where it has none)
// whose loaded hive lists the program.
inline constexpr char kProgramsHeader[] = "Name\tVersion\tPublisher\tInstalled\tBits\tScope";
inline constexpr char kUpdatesHeader[] = "KB\tInstalled\tSource\tName";
inline constexpr char kBits32[] = "32-bit";
inline constexpr char kBits64[] = "64-bit";
inline constexpr char kScopeMachine[] = "Machine";
// Where an update was found: Component Based Servicing (Vista on), the Hotfix
// key (2000 to 2003), an Uninstall entry that Programs and Features shows
// among the updates.
inline constexpr char kSourceCbs[] = "CBS";
inline constexpr char kSourceHotfix[] = "Hotfix";
inline constexpr char kSourceUninstall[] = "Uninstall";

// The start and end of every report, and the section titles of -O, -S, -D, -U
// and -H (each between two rows of stars, as the titles above).
inline constexpr char kBannerProduct[] = " QUORVEL v";
inline constexpr char kTotalTime[] = "Total time taken: ";
inline constexpr char kTitleOs[] = "Operating System Information";
inline constexpr char kTitleDrives[] = "Drive Information";
inline constexpr char kTitleDevices[] = "Devices";
inline constexpr char kTitleUsers[] = "User Accounts";
inline constexpr char kTitleHardware[] = "Hardware Information";

// The OS section (-O): its labels end in tabs, as printed.
inline constexpr char kOsCurrentUser[] = "Current User:\t\t";
inline constexpr char kOsUptime[] = "System Uptime:\t\t";
inline constexpr char kOsName[] = "Operating System:\t";
inline constexpr char kOsServicePack[] = "Service Pack:\t\t";
inline constexpr char kOsBuildType[] = "Build Type:\t\t";
inline constexpr char kOsOwner[] = "Reg Name:\t\t";
inline constexpr char kOsOrganisation[] = "Reg Org.:\t\t";
inline constexpr char kOsProductId[] = "Product ID:\t\t";
inline constexpr char kOsSystemRoot[] = "System Root:\t\t";
inline constexpr char kOsCurrentTime[] = "Current Time:\t\t";
inline constexpr char kOsInstallTime[] = "Install Time:\t\t";
// A registry text of the section could not be read; printed before its block.
inline constexpr char kRegError[] = "Reg Error XR1";

// The drive section (-S): a block per drive under "Drive X" between rows of
// '=', or its one line kDriveNoMedia "(TYPE)".
inline constexpr char kDriveTitle[] = "Drive ";
inline constexpr char kDriveNoMedia[] = "No media present (";
inline constexpr char kDriveType[] = "Type";
inline constexpr char kDriveLabel[] = "Volume Label";
inline constexpr char kDriveSerial[] = "Volume Serial";
inline constexpr char kDriveFileSystem[] = "File System";
inline constexpr char kDriveSectors[] = "Sectors per cluster";
inline constexpr char kDriveBytesPerSector[] = "Bytes per sector";
inline constexpr char kDriveFreeClusters[] = "Free clusters";
inline constexpr char kDriveUsedClusters[] = "Used clusters";
inline constexpr char kDriveTotalClusters[] = "Total clusters";
inline constexpr char kDriveSpaceFree[] = "Space free";
inline constexpr char kDriveSpaceUsed[] = "Space used";
inline constexpr char kDriveTotalSpace[] = "Total space";
inline constexpr char kDriveNoLabel[] = "(No Label)";
inline constexpr char kDriveHard[] = "Hard Drive";

// The devices section (-D): its error lines, each followed by a figure.
inline constexpr char kClassTooLong[] = "Not enough...Required size is ";
inline constexpr char kBadClass[] = "Bad class...";

// The users section (-U): "User:\t\tNAME (PRIVILEGE)", the flag lines (the
// first after kAccountFlagsLabel, the others after kAccountFlagIndent), then the
// figures. kNue and the status stand alone where the enumeration failed.
inline constexpr char kAccountUser[] = "User:\t\t";
inline constexpr char kAccountFlagsLabel[] = "Flags: ";
inline constexpr char kAccountFlagIndent[] = "\t\t";
inline constexpr char kAccountPasswordAge[] = "Password Age:\t";
inline constexpr char kAccountBadPasswords[] = "Bad Passwords:\t";
inline constexpr char kAccountLogons[] = "Total Logons:\t";
inline constexpr char kAccountLastLogon[] = "Last Logon:\t";
inline constexpr char kAccountNever[] = "Never";
inline constexpr char kAccountExpired[] = "*** Password has expired ***";
inline constexpr char kAccountAdmin[] = "Admin";
inline constexpr char kNue[] = "NUE() returned ";
// The flag texts, in the order they print.
inline constexpr char kFlagDisabled[] = "Account is disabled";
inline constexpr char kFlagNoPassword[] = "Account has no password";
inline constexpr char kFlagCannotChange[] = "Password cannot be changed by user";
inline constexpr char kFlagLocked[] = "Account is locked";
inline constexpr char kFlagNeverExpires[] = "Account password does not expire";
inline constexpr char kFlagDelegation[] = "Trusted for delegation";
inline constexpr char kFlagExpired[] = "Account password has expired";
inline constexpr char kFlagAuthDelegation[] = "Trusted to authenticate for delegation";

// The hardware section (-H): its blocks and the labels the table reads.
inline constexpr char kBlockMachine[] = "Machine";
inline constexpr char kBlockBios[] = "BIOS";
inline constexpr char kBlockBaseboard[] = "Baseboard";
inline constexpr char kBlockProcessors[] = "Processors";
inline constexpr char kBlockMemory[] = "Memory";
inline constexpr char kHwManufacturer[] = "Manufacturer";
inline constexpr char kHwModel[] = "Model";
inline constexpr char kHwSerial[] = "Serial Number";
inline constexpr char kHwProcessorName[] = "Name";
inline constexpr char kHwLogical[] = "Logical Processors";
inline constexpr char kHwInstalled[] = "Installed";
