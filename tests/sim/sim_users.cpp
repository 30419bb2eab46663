// Simulated account enumeration: NetUserEnum at level 3 over the machine's
// batches, one batch per request, and NetApiBufferFree.
#include "sim.h"

#include <stdlib.h>

#include <algorithm>

using namespace sim;

namespace {

const char kBufferKind[] = "NetUserEnum buffer";
// A program that never finishes enumerating is stopped here, not hung.
const size_t kMaxRequests = 1000;

// One enumeration is open from a request that hands in resume value 0 until
// the request that delivers the last batch or fails.
struct Enumeration {
  bool open = false;
  size_t next_batch = 0;
  DWORD resume = 0;  // what the next request must hand back
};

struct Block {
  void *token;  // its entry in the handle table
  int number;   // 1 for the first buffer handed out in a test
};

// Record buffers by address. A test's sim::reset() drops their handle-table
// entries but not the memory, so blocks left over from an earlier test are
// freed at the first request of the next one, and the rest at exit.
struct BlockTable {
  std::map<void *, Block> blocks;
  ~BlockTable() {
    for (auto &entry : blocks) free(entry.first);
  }
};

Enumeration g_enumeration;
BlockTable g_table;
int g_buffers_handed = 0;
DWORD g_resume_serial = 0;

void start_of_test() {
  for (auto &entry : g_table.blocks) free(entry.first);
  g_table.blocks.clear();
  g_enumeration = Enumeration();
  g_buffers_handed = 0;
}

std::string wide_text(LPCWSTR text) {
  if (!text) return "NULL";
  std::string out = "\"";
  for (; *text; ++text) {
    if (*text >= 0x20 && *text < 0x7F) {
      out += static_cast<char>(*text);
    } else {
      char escape[8];
      snprintf(escape, sizeof escape, "\\u%04X", static_cast<unsigned>(*text));
      out += escape;
    }
  }
  return out + "\"";
}

// One allocation: the records, then their strings. Strings that the machine
// does not describe are empty; the password is never returned at level 3.
// Records past the users (count more than there are) stay all zero.
LPBYTE make_buffer(const std::vector<User> &users, size_t count) {
  size_t size = count * sizeof(USER_INFO_3) + sizeof(WCHAR);
  for (const User &user : users) size += (user.name.size() + 1) * sizeof(WCHAR);
  BYTE *block = static_cast<BYTE *>(calloc(1, size));
  USER_INFO_3 *records = reinterpret_cast<USER_INFO_3 *>(block);
  WCHAR *strings = reinterpret_cast<WCHAR *>(block + count * sizeof(USER_INFO_3));
  WCHAR *empty = strings++;
  for (size_t i = 0; i < users.size(); ++i) {
    const User &user = users[i];
    USER_INFO_3 &record = records[i];
    record.usri3_name = strings;
    memcpy(strings, user.name.data(), user.name.size() * sizeof(WCHAR));
    strings += user.name.size() + 1;
    record.usri3_password = nullptr;
    record.usri3_home_dir = record.usri3_comment = record.usri3_script_path = empty;
    record.usri3_full_name = record.usri3_usr_comment = record.usri3_parms = empty;
    record.usri3_workstations = record.usri3_logon_server = empty;
    record.usri3_profile = record.usri3_home_dir_drive = empty;
    record.usri3_password_age = user.password_age;
    record.usri3_priv = user.priv;
    record.usri3_flags = user.flags;
    record.usri3_last_logon = user.last_logon;
    record.usri3_acct_expires = 0xFFFFFFFF;  // TIMEQ_FOREVER
    record.usri3_max_storage = 0xFFFFFFFF;   // USER_MAXSTORAGE_UNLIMITED
    record.usri3_units_per_week = 168;       // UNITS_PER_WEEK
    record.usri3_bad_pw_count = user.bad_pw_count;
    record.usri3_num_logons = user.num_logons;
    record.usri3_user_id = static_cast<DWORD>(1000 + i);
    record.usri3_primary_group_id = 513;  // DOMAIN_GROUP_RID_USERS
    record.usri3_password_expired = user.password_expired;
  }
  g_table.blocks[block] = Block{acquire(kBufferKind), ++g_buffers_handed};
  return block;
}

}  // namespace

NET_API_STATUS NET_API_FUNCTION sim::dll::NetUserEnum(LPCWSTR server_name, DWORD level, DWORD filter,
                                                      LPBYTE *buffer, DWORD preferred_length, LPDWORD entries_read,
                                                      LPDWORD total_entries, LPDWORD resume_handle) {
  // The call record starts empty in every test.
  if (count_calls("NetUserEnum") == 0) start_of_test();
  record("NetUserEnum", wide_text(server_name) + ", " + std::to_string(level) + ", " + std::to_string(filter) +
                            ", " + std::to_string(preferred_length) + ", " +
                            (resume_handle ? std::to_string(*resume_handle) : std::string("NULL")));
  if (count_calls("NetUserEnum") > kMaxRequests) {
    note_problem("NetUserEnum asked more than " + std::to_string(kMaxRequests) + " times");
    return ERROR_INVALID_PARAMETER;
  }
  if (!buffer || !entries_read || !total_entries) return ERROR_INVALID_PARAMETER;
  if (level != 3) return ERROR_INVALID_LEVEL;
  // The machine has no network: only the local computer answers.
  if (server_name && server_name[0]) return ERROR_BAD_NETPATH;

  // An open enumeration continues only with the value it handed out; 0 starts
  // a new one when none is open.
  DWORD handed = resume_handle ? *resume_handle : 0;
  Enumeration &enumeration = g_enumeration;
  if (enumeration.open ? handed != enumeration.resume : handed != 0) return ERROR_INVALID_PARAMETER;
  if (!enumeration.open) {
    enumeration.open = true;
    enumeration.next_batch = 0;
  }
  *entries_read = 0;
  *total_entries = 0;

  if (should_fail("NetUserEnum")) {
    enumeration = Enumeration();
    return ERROR_ACCESS_DENIED;
  }

  const std::vector<UserBatch> &batches = machine().user_batches;
  if (enumeration.next_batch >= batches.size()) {
    // Nothing (more) to deliver.
    enumeration = Enumeration();
    if (resume_handle) *resume_handle = 0;
    return NERR_Success;
  }

  for (size_t i = enumeration.next_batch; i < batches.size(); ++i)
    *total_entries += static_cast<DWORD>(batches[i].users.size());
  const UserBatch &batch = batches[enumeration.next_batch++];
  bool more = enumeration.next_batch < batches.size();
  NET_API_STATUS status = batch.status;
  if (status == NERR_Success && more) status = ERROR_MORE_DATA;
  bool failed = status != NERR_Success && status != ERROR_MORE_DATA;

  DWORD reported = batch.entries_read.value_or(static_cast<DWORD>(batch.users.size()));
  if (failed ? batch.hands_buffer : !batch.withholds_buffer) {
    *buffer = make_buffer(batch.users, std::max<size_t>(reported, batch.users.size()));
    *entries_read = reported;
  } else if (batch.entries_read) {
    *entries_read = reported;
  }
  if (status == ERROR_MORE_DATA) {
    // A value of the layer's own, new for every batch.
    enumeration.resume = 0x4E550000u + (++g_resume_serial & 0xFFFF);
    if (resume_handle) *resume_handle = enumeration.resume;
  } else {
    enumeration = Enumeration();
    if (status == NERR_Success && resume_handle) *resume_handle = 0;
  }
  return status;
}

NET_API_STATUS NET_API_FUNCTION sim::dll::NetApiBufferFree(LPVOID buffer) {
  auto it = g_table.blocks.find(buffer);
  bool known = it != g_table.blocks.end();
  record("NetApiBufferFree", !buffer ? std::string("NULL")
                                     : known ? "buffer #" + std::to_string(it->second.number) : std::string("unknown"));
  if (!buffer) return NERR_Success;
  if (!known || !release(it->second.token, kBufferKind)) {
    note_problem("NetApiBufferFree of a pointer that is no buffer held");
    return ERROR_INVALID_PARAMETER;
  }
  free(buffer);
  g_table.blocks.erase(it);
  return NERR_Success;
}
