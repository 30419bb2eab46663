// The storage section: one block per drive letter A to Z that exists.
#pragma once

// Prints the "Drive Information" section. Returns 0.
int report_drives(void);
