// SMBIOS chassis types (type 3) and memory types (type 17) by code, as
// dmidecode names them; "" for a code that names nothing (Unknown, reserved).
#pragma once

static const char *const kChassisNames[] = {
    "",                       // 0x00
    "Other",                  // 0x01
    "",                       // 0x02
    "Desktop",                // 0x03
    "Low Profile Desktop",    // 0x04
    "Pizza Box",              // 0x05
    "Mini Tower",             // 0x06
    "Tower",                  // 0x07
    "Portable",               // 0x08
    "Laptop",                 // 0x09
    "Notebook",               // 0x0A
    "Hand Held",              // 0x0B
    "Docking Station",        // 0x0C
    "All In One",             // 0x0D
    "Sub Notebook",           // 0x0E
    "Space-saving",           // 0x0F
    "Lunch Box",              // 0x10
    "Main Server Chassis",    // 0x11
    "Expansion Chassis",      // 0x12
    "Sub Chassis",            // 0x13
    "Bus Expansion Chassis",  // 0x14
    "Peripheral Chassis",     // 0x15
    "RAID Chassis",           // 0x16
    "Rack Mount Chassis",     // 0x17
    "Sealed-case PC",         // 0x18
    "Multi-system",           // 0x19
    "CompactPCI",             // 0x1A
    "AdvancedTCA",            // 0x1B
    "Blade",                  // 0x1C
    "Blade Enclosing",        // 0x1D
    "Tablet",                 // 0x1E
    "Convertible",            // 0x1F
    "Detachable",             // 0x20
    "IoT Gateway",            // 0x21
    "Embedded PC",            // 0x22
    "Mini PC",                // 0x23
    "Stick PC",               // 0x24
};

static const char *const kMemoryTypeNames[] = {
    "",                             // 0x00
    "Other",                        // 0x01
    "",                             // 0x02
    "DRAM",                         // 0x03
    "EDRAM",                        // 0x04
    "VRAM",                         // 0x05
    "SRAM",                         // 0x06
    "RAM",                          // 0x07
    "ROM",                          // 0x08
    "Flash",                        // 0x09
    "EEPROM",                       // 0x0A
    "FEPROM",                       // 0x0B
    "EPROM",                        // 0x0C
    "CDRAM",                        // 0x0D
    "3DRAM",                        // 0x0E
    "SDRAM",                        // 0x0F
    "SGRAM",                        // 0x10
    "RDRAM",                        // 0x11
    "DDR",                          // 0x12
    "DDR2",                         // 0x13
    "DDR2 FB-DIMM",                 // 0x14
    "",                             // 0x15
    "",                             // 0x16
    "",                             // 0x17
    "DDR3",                         // 0x18
    "FBD2",                         // 0x19
    "DDR4",                         // 0x1A
    "LPDDR",                        // 0x1B
    "LPDDR2",                       // 0x1C
    "LPDDR3",                       // 0x1D
    "LPDDR4",                       // 0x1E
    "Logical non-volatile device",  // 0x1F
    "HBM",                          // 0x20
    "HBM2",                         // 0x21
    "DDR5",                         // 0x22
    "LPDDR5",                       // 0x23
};
