// The simulated machine behind platform.h. A test describes the machine by
// filling sim::machine(), runs program code through sim::run(), and reads the
// text printed, the process ending, the calls received and the handles held.
#pragma once

#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform.h"

namespace sim {

struct Drive {
  UINT type = DRIVE_NO_ROOT_DIR;
  bool mounted = false;            // false: the volume query fails (no medium)
  std::string label;
  DWORD serial = 0;
  std::string file_system;
  bool space_ok = true;            // GetDiskFreeSpaceExA succeeds
  ULONGLONG total_bytes = 0;
  ULONGLONG free_bytes = 0;
  ULONGLONG available_bytes = 0;
  bool clusters_ok = true;         // GetDiskFreeSpaceA succeeds
  DWORD sectors_per_cluster = 0;
  DWORD bytes_per_sector = 0;
  DWORD free_clusters = 0;
  DWORD total_clusters = 0;
};

struct RegValue {
  DWORD type = REG_SZ;
  std::string data;  // the raw bytes, as stored
  std::optional<DWORD> reported_size;  // the size a query reports instead of the true one
};

struct RegKey {
  std::map<std::string, RegValue> values;  // value names in lower case
  std::optional<std::string> default_value;
};

struct Device {
  std::optional<std::string> friendly_name;
  std::optional<std::string> description;
  bool present = true;
};

struct DeviceClass {
  CONFIGRET enum_result = CR_SUCCESS;  // answer of CM_Enumerate_Classes at this index
  GUID guid = {};
  std::string name;
  bool name_fails = false;             // SetupDiClassNameFromGuidA fails for another reason
  bool set_fails = false;              // SetupDiGetClassDevsA gives INVALID_HANDLE_VALUE
  bool key_fails = false;              // SetupDiOpenClassRegKeyExA gives INVALID_HANDLE_VALUE
  std::optional<std::string> description;  // default value of the class key
  std::optional<RegValue> stored_description;  // that value exactly as stored, in place of description
  std::optional<DWORD> required_size;  // SetupDiClassNameFromGuidA reports it instead of the true size
  std::vector<Device> devices;
};

struct User {
  std::u16string name;
  DWORD priv = USER_PRIV_USER;
  DWORD flags = UF_SCRIPT | UF_NORMAL_ACCOUNT;
  DWORD password_age = 0;
  DWORD last_logon = 0;
  DWORD bad_pw_count = 0;
  DWORD num_logons = 0;
  DWORD password_expired = 0;
};

struct UserBatch {
  NET_API_STATUS status = NERR_Success;
  std::vector<User> users;
  bool hands_buffer = true;  // a failing request may still hand back a buffer
  bool withholds_buffer = false;  // a successful request hands back none
  // Reported instead of the number of users; a buffer then holds at least
  // that many records, those past the users all zero.
  std::optional<DWORD> entries_read;
};

struct Machine {
  Drive drives[26];

  OSVERSIONINFOEXA version = {};
  bool version_ex_ok = true;     // the 156-byte query is accepted
  bool version_basic_ok = true;  // the 148-byte query is accepted
  std::map<std::string, RegKey> hklm;  // key paths in lower case

  std::vector<DeviceClass> classes;
  std::optional<DWORD> class_guid_count;  // SetupDiClassGuidsFromNameA reports it instead of the true count

  std::vector<UserBatch> user_batches;

  std::vector<DWORD> ticks = {0};  // GetTickCount answers in turn; the last repeats
  SYSTEMTIME utc_now = {2026, 12, 0, 6, 12, 0, 0, 0};
  long local_offset = 0;  // seconds east of Greenwich, for ctime

  std::string computer_name = "SIMBOX";
  std::string user_name = "operator";

  // A faulty driver or service: a text too long for the caller's buffer
  // fills it without a NUL and the query succeeds (volume label and file
  // system, computer and user names, class names, device properties).
  bool unterminated_texts = false;
  // LocalAlloc refuses larger blocks: a 32-bit process has 2 GB at most.
  size_t memory_limit = 0x7FFFFFFF;

  // Functions GetProcAddress does not find ("NetUserEnum"), and DLLs
  // LoadLibraryA does not find, by lower-case name ("netapi32.dll").
  std::set<std::string> absent;
  std::set<std::string> fail;    // functions that fail at every call
  std::map<std::string, std::set<int>> fail_nth;  // name -> 1-based call numbers that fail
};

struct Call {
  std::string name;
  std::string args;  // the arguments as text, separated by ", "
};

struct Result {
  std::string out;         // everything printed to standard output
  bool ended = false;      // the program ended the process through end_process
  int status = 0;          // the ending's status, or run_main's result
};

// Clears the machine, the call record and the handle table, and makes the
// program look up its optional functions again.
void reset();
Machine &machine();

// Runs fn with standard output captured; an end_process inside fn ends fn.
Result run(const std::function<int()> &fn);
// As run, with standard output left where it goes (out stays empty): for
// callers that run the program many times, such as the fuzz harnesses.
Result run_uncaptured(const std::function<int()> &fn);
// Runs run_main with the program name followed by args.
Result run_program(const std::vector<std::string> &args);

const std::vector<Call> &calls();
std::vector<Call> calls_named(const std::string &name);
size_t count_calls(const std::string &name);

// Handles, keys, sets and buffers obtained and not released, one text each.
std::vector<std::string> held();

// Registry helpers.
void set_reg_string(const std::string &key, const std::string &value, const std::string &text);
void set_reg_raw(const std::string &key, const std::string &value, DWORD type, const std::string &bytes);
void set_reg_dword(const std::string &key, const std::string &value, DWORD data);
void add_reg_key(const std::string &key);
// Opens a key outside HKEY_LOCAL_MACHINE's map (a device class's setup key)
// with the given default value (none: not set) and access; RegQueryValueA,
// RegQueryValueExA and RegCloseKey accept it like any open key.
HKEY open_class_key(const std::optional<std::string> &default_value, REGSAM access = KEY_READ);
// As above, with the key's values given as stored.
HKEY open_class_key(const RegKey &contents, REGSAM access);

GUID make_guid(DWORD n);
// The registry form of a GUID, as the call record shows it: "{XXXXXXXX-...}".
std::string guid_text(const GUID &guid);

// The functions that the program binds at run time, under their own names:
// program code reaches them only through LoadLibraryA or GetModuleHandleA
// and GetProcAddress.
namespace dll {
BOOL WINAPI GetDiskFreeSpaceExA(LPCSTR lpDirectoryName, PULARGE_INTEGER lpFreeBytesAvailableToCaller,
                                PULARGE_INTEGER lpTotalNumberOfBytes, PULARGE_INTEGER lpTotalNumberOfFreeBytes);
CONFIGRET WINAPI CM_Enumerate_Classes(ULONG ulClassIndex, LPGUID ClassGuid, ULONG ulFlags);
BOOL WINAPI SetupDiClassNameFromGuidA(const GUID *ClassGuid, LPSTR ClassName, DWORD ClassNameSize,
                                      PDWORD RequiredSize);
BOOL WINAPI SetupDiClassGuidsFromNameA(LPCSTR ClassName, LPGUID ClassGuidList, DWORD ClassGuidListSize,
                                       PDWORD RequiredSize);
HDEVINFO WINAPI SetupDiGetClassDevsA(const GUID *ClassGuid, LPCSTR Enumerator, HWND hwndParent, DWORD Flags);
HKEY WINAPI SetupDiOpenClassRegKeyExA(const GUID *ClassGuid, REGSAM samDesired, DWORD Flags, LPCSTR MachineName,
                                      PVOID Reserved);
BOOL WINAPI SetupDiEnumDeviceInfo(HDEVINFO DeviceInfoSet, DWORD MemberIndex, PSP_DEVINFO_DATA DeviceInfoData);
BOOL WINAPI SetupDiGetDeviceRegistryPropertyA(HDEVINFO DeviceInfoSet, PSP_DEVINFO_DATA DeviceInfoData,
                                              DWORD Property, PDWORD PropertyRegDataType, PBYTE PropertyBuffer,
                                              DWORD PropertyBufferSize, PDWORD RequiredSize);
BOOL WINAPI SetupDiDestroyDeviceInfoList(HDEVINFO DeviceInfoSet);
NET_API_STATUS NET_API_FUNCTION NetUserEnum(LPCWSTR servername, DWORD level, DWORD filter, LPBYTE *bufptr,
                                            DWORD prefmaxlen, LPDWORD entriesread, LPDWORD totalentries,
                                            LPDWORD resume_handle);
NET_API_STATUS NET_API_FUNCTION NetApiBufferFree(LPVOID Buffer);
}  // namespace dll

// Internal to the simulation.
void reset_loader();  // no DLL loaded but kernel32
void note_problem(const std::string &text);  // a misuse that held() reports
UINT error_mode();
int critical_error_dialogs();  // queries of empty drives made with the dialog on
void record(const char *name, const std::string &args);
bool should_fail(const char *name);
void *acquire(const std::string &kind);
bool release(void *handle, const std::string &kind);
bool is_held(void *handle, const std::string &kind);
std::string quote(const char *text);
std::string lower(const std::string &text);

}  // namespace sim
