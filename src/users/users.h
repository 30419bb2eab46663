// The user-account section.
#pragma once

#include "platform.h"

// Prints the "User Accounts" section: the heading, then every account of the
// local computer. Returns 0.
int report_users(void);

// Prints one block per account that NetUserEnum lists for server_name (an
// empty name is the local computer), or the status of the request that failed.
void print_user_accounts(LPCWSTR server_name);
