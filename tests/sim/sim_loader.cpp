// The simulated loader: GetModuleHandleA, LoadLibraryA and GetProcAddress
// over the DLLs whose functions the program binds at run time. Each DLL
// exports the functions of sim::dll that belong to it; machine().absent
// takes away a DLL or a function.
#include "sim.h"

using namespace sim;

namespace {

// The one function type any other converts from and to without a warning.
typedef void (*AnyFunction)(void);

struct Export {
  const char *dll;
  const char *name;
  AnyFunction address;
};

template <typename Function>
AnyFunction any(Function function) {
  return reinterpret_cast<AnyFunction>(function);
}

const Export kExports[] = {
    {"kernel32.dll", "GetDiskFreeSpaceExA", any(&dll::GetDiskFreeSpaceExA)},
    {"cfgmgr32.dll", "CM_Enumerate_Classes", any(&dll::CM_Enumerate_Classes)},
    {"setupapi.dll", "SetupDiClassNameFromGuidA", any(&dll::SetupDiClassNameFromGuidA)},
    {"setupapi.dll", "SetupDiClassGuidsFromNameA", any(&dll::SetupDiClassGuidsFromNameA)},
    {"setupapi.dll", "SetupDiGetClassDevsA", any(&dll::SetupDiGetClassDevsA)},
    {"setupapi.dll", "SetupDiOpenClassRegKeyExA", any(&dll::SetupDiOpenClassRegKeyExA)},
    {"setupapi.dll", "SetupDiEnumDeviceInfo", any(&dll::SetupDiEnumDeviceInfo)},
    {"setupapi.dll", "SetupDiGetDeviceRegistryPropertyA", any(&dll::SetupDiGetDeviceRegistryPropertyA)},
    {"setupapi.dll", "SetupDiDestroyDeviceInfoList", any(&dll::SetupDiDestroyDeviceInfoList)},
    {"netapi32.dll", "NetUserEnum", any(&dll::NetUserEnum)},
    {"netapi32.dll", "NetApiBufferFree", any(&dll::NetApiBufferFree)},
};

const char *const kDlls[] = {"kernel32.dll", "cfgmgr32.dll", "setupapi.dll", "netapi32.dll"};
const size_t kDllCount = sizeof kDlls / sizeof kDlls[0];

// Which DLLs are in the process; kernel32 always is.
bool g_loaded[kDllCount] = {true};

// The module handle of a DLL: the address of its name, which nothing
// dereferences through the handle.
HMODULE handle_of(size_t index) { return reinterpret_cast<HMODULE>(const_cast<char **>(&kDlls[index])); }

// The index of a DLL named "name" or "name.dll" in any case, or kDllCount.
size_t dll_index(LPCSTR name) {
  if (!name) return kDllCount;
  std::string wanted = lower(name);
  if (wanted.find('.') == std::string::npos) wanted += ".dll";
  for (size_t i = 0; i < kDllCount; ++i)
    if (wanted == kDlls[i]) return i;
  return kDllCount;
}

}  // namespace

namespace sim {
void reset_loader() {
  for (size_t i = 0; i < kDllCount; ++i) g_loaded[i] = i == 0;
}
}  // namespace sim

HMODULE WINAPI GetModuleHandleA(LPCSTR name) {
  record("GetModuleHandleA", quote(name));
  size_t index = dll_index(name);
  if (index == kDllCount || !g_loaded[index]) {
    SetLastError(ERROR_MOD_NOT_FOUND);
    return nullptr;
  }
  return handle_of(index);
}

HMODULE WINAPI LoadLibraryA(LPCSTR name) {
  record("LoadLibraryA", quote(name));
  size_t index = dll_index(name);
  if (index == kDllCount || machine().absent.count(kDlls[index])) {
    // The loader of Windows 9x tells the user in a message box unless
    // critical-error boxes are off.
    if (!(error_mode() & SEM_FAILCRITICALERRORS)) note_problem("message box for " + quote(name) + ", not found");
    SetLastError(ERROR_MOD_NOT_FOUND);
    return nullptr;
  }
  g_loaded[index] = true;
  return handle_of(index);
}

FARPROC WINAPI GetProcAddress(HMODULE module, LPCSTR name) {
  size_t index = kDllCount;
  for (size_t i = 0; i < kDllCount; ++i)
    if (module == handle_of(i) && g_loaded[i]) index = i;
  record("GetProcAddress", (index < kDllCount ? std::string(kDlls[index]) : std::string("unknown")) + ", " +
                               quote(name));
  if (index == kDllCount) {
    note_problem("GetProcAddress with a module that is not loaded");
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  // Names are matched exactly, as the loader does.
  if (name && !machine().absent.count(name)) {
    for (const Export &e : kExports)
      if (strcmp(e.dll, kDlls[index]) == 0 && strcmp(e.name, name) == 0) return reinterpret_cast<FARPROC>(e.address);
  }
  SetLastError(ERROR_PROC_NOT_FOUND);
  return nullptr;
}
