// The network section: who the machine is (name, domain, role, time zone,
// boot time, last user, code page) and its network adapters.
#pragma once

// Prints the "Network Information" section. Returns 0.
int report_network(void);
