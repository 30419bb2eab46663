// Every name that the naming rules (name_9x, nt_name) give a Windows, and the
// one list of them that sysreport-table splits the OS line by: the OS line is
// the name, a blank, the edition and the version in parentheses.
#pragma once

static const char kWindows95[] = "Windows 95";
static const char kWindows98[] = "Windows 98";
static const char kWindowsMe[] = "Windows Millennium Edition";
static const char kWindowsNt[] = "Windows NT";
static const char kWindows2000[] = "Windows 2000";
static const char kWindowsXp[] = "Windows XP";
static const char kWindowsServer2003[] = "Windows Server 2003 family";
static const char kWindowsVista[] = "Windows Vista";
static const char kWindowsServer2008[] = "Windows Server 2008";
static const char kWindows7[] = "Windows 7";
static const char kWindowsServer2008R2[] = "Windows Server 2008 R2";
static const char kWindows8[] = "Windows 8";
static const char kWindowsServer2012[] = "Windows Server 2012";
static const char kWindows81[] = "Windows 8.1";
static const char kWindowsServer2012R2[] = "Windows Server 2012 R2";
static const char kWindows10[] = "Windows 10";
static const char kWindows11[] = "Windows 11";
static const char kWindowsServer2016[] = "Windows Server 2016";
static const char kWindowsServer2019[] = "Windows Server 2019";
static const char kWindowsServer2022[] = "Windows Server 2022";
static const char kWindowsServer2025[] = "Windows Server 2025";
static const char kWindowsServer[] = "Windows Server";
static const char kAzureStackHci[] = "Azure Stack HCI";
// A Windows newer than every rule.
static const char kWindowsNewer[] = "Windows";

static const char *const kOsNames[] = {kWindows95,         kWindows98,         kWindowsMe,           kWindowsNt,
                                       kWindows2000,       kWindowsXp,         kWindowsServer2003,   kWindowsVista,
                                       kWindowsServer2008, kWindows7,          kWindowsServer2008R2, kWindows8,
                                       kWindowsServer2012, kWindows81,         kWindowsServer2012R2, kWindows10,
                                       kWindows11,         kWindowsServer2016, kWindowsServer2019,   kWindowsServer2022,
                                       kWindowsServer2025, kWindowsServer,     kAzureStackHci,       kWindowsNewer};
