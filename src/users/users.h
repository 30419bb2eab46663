// The user-account section.
#pragma once

// Prints the "User Accounts" section. Returns 0.
int report_users(void);
