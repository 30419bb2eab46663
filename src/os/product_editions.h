// GetProductInfo's product codes (Vista and later) and the editions they
// name, without the "Windows" of the product's name. "Pro" reads
// "Professional" on 6.0 and 6.1; "Home" has no word on Windows 8 and 8.1;
// "LTSC" reads "LTSB" before build 17763; 0x32 is "Small Business Server
// Essentials" only on 6.1 (os_text.cpp applies these). Left out: the codes of
// devices and hosts whose systems cannot run the program (phones and
// handhelds, cars, Surface Hub, HoloLens, IoT Core, Xbox, Windows RT, Nano
// Server, cloud host and utility VM systems), the E editions that never
// shipped, the evaluation and student variants of the embedded and Pro
// editions, and internal codes. A code without a row shows EditionID instead.
#pragma once

#include <stdint.h>

static const struct {
  uint32_t product;
  const char *edition;
} kProductEditions[] = {
    {0x01, "Ultimate"},                                                // PRODUCT_ULTIMATE
    {0x02, "Home Basic"},                                              // PRODUCT_HOME_BASIC
    {0x03, "Home Premium"},                                            // PRODUCT_HOME_PREMIUM
    {0x04, "Enterprise"},                                              // PRODUCT_ENTERPRISE
    {0x05, "Home Basic N"},                                            // PRODUCT_HOME_BASIC_N
    {0x06, "Business"},                                                // PRODUCT_BUSINESS
    {0x07, "Standard"},                                                // PRODUCT_STANDARD_SERVER
    {0x08, "Datacenter"},                                              // PRODUCT_DATACENTER_SERVER
    {0x09, "Small Business Server"},                                   // PRODUCT_SMALLBUSINESS_SERVER
    {0x0A, "Enterprise"},                                              // PRODUCT_ENTERPRISE_SERVER
    {0x0B, "Starter"},                                                 // PRODUCT_STARTER
    {0x0C, "Datacenter (Server Core)"},                                // PRODUCT_DATACENTER_SERVER_CORE
    {0x0D, "Standard (Server Core)"},                                  // PRODUCT_STANDARD_SERVER_CORE
    {0x0E, "Enterprise (Server Core)"},                                // PRODUCT_ENTERPRISE_SERVER_CORE
    {0x0F, "Enterprise for Itanium-based Systems"},                    // PRODUCT_ENTERPRISE_SERVER_IA64
    {0x10, "Business N"},                                              // PRODUCT_BUSINESS_N
    {0x11, "Web Server"},                                              // PRODUCT_WEB_SERVER
    {0x12, "HPC Edition"},                                             // PRODUCT_CLUSTER_SERVER
    {0x13, "Storage Server Essentials"},                               // PRODUCT_HOME_SERVER
    {0x14, "Storage Server Express"},                                  // PRODUCT_STORAGE_EXPRESS_SERVER
    {0x15, "Storage Server Standard"},                                 // PRODUCT_STORAGE_STANDARD_SERVER
    {0x16, "Storage Server Workgroup"},                                // PRODUCT_STORAGE_WORKGROUP_SERVER
    {0x17, "Storage Server Enterprise"},                               // PRODUCT_STORAGE_ENTERPRISE_SERVER
    {0x18, "for Windows Essential Server Solutions"},                  // PRODUCT_SERVER_FOR_SMALLBUSINESS
    {0x19, "Small Business Server Premium"},                           // PRODUCT_SMALLBUSINESS_SERVER_PREMIUM
    {0x1A, "Home Premium N"},                                          // PRODUCT_HOME_PREMIUM_N
    {0x1B, "Enterprise N"},                                            // PRODUCT_ENTERPRISE_N
    {0x1C, "Ultimate N"},                                              // PRODUCT_ULTIMATE_N
    {0x1D, "Web Server (Server Core)"},                                // PRODUCT_WEB_SERVER_CORE
    {0x1E, "Essential Business Server Management Server"},             // PRODUCT_MEDIUMBUSINESS_SERVER_MANAGEMENT
    {0x1F, "Essential Business Server Security Server"},               // PRODUCT_MEDIUMBUSINESS_SERVER_SECURITY
    {0x20, "Essential Business Server Messaging Server"},              // PRODUCT_MEDIUMBUSINESS_SERVER_MESSAGING
    {0x21, "Foundation"},                                              // PRODUCT_SERVER_FOUNDATION
    {0x22, "Home Server"},                                             // PRODUCT_HOME_PREMIUM_SERVER
    {0x23, "without Hyper-V for Windows Essential Server Solutions"},  // PRODUCT_SERVER_FOR_SMALLBUSINESS_V
    {0x24, "Standard without Hyper-V"},                                // PRODUCT_STANDARD_SERVER_V
    {0x25, "Datacenter without Hyper-V"},                              // PRODUCT_DATACENTER_SERVER_V
    {0x26, "Enterprise without Hyper-V"},                              // PRODUCT_ENTERPRISE_SERVER_V
    {0x27, "Datacenter without Hyper-V (Server Core)"},                // PRODUCT_DATACENTER_SERVER_CORE_V
    {0x28, "Standard without Hyper-V (Server Core)"},                  // PRODUCT_STANDARD_SERVER_CORE_V
    {0x29, "Enterprise without Hyper-V (Server Core)"},                // PRODUCT_ENTERPRISE_SERVER_CORE_V
    {0x2A, "Hyper-V Server"},                                          // PRODUCT_HYPERV
    {0x2B, "Storage Server Express (Server Core)"},                    // PRODUCT_STORAGE_EXPRESS_SERVER_CORE
    {0x2C, "Storage Server Standard (Server Core)"},                   // PRODUCT_STORAGE_STANDARD_SERVER_CORE
    {0x2D, "Storage Server Workgroup (Server Core)"},                  // PRODUCT_STORAGE_WORKGROUP_SERVER_CORE
    {0x2E, "Storage Server Enterprise (Server Core)"},                 // PRODUCT_STORAGE_ENTERPRISE_SERVER_CORE
    {0x2F, "Starter N"},                                               // PRODUCT_STARTER_N
    {0x30, "Pro"},                                                     // PRODUCT_PROFESSIONAL
    {0x31, "Pro N"},                                                   // PRODUCT_PROFESSIONAL_N
    {0x32, "Essentials"},                                              // PRODUCT_SB_SOLUTION_SERVER
    {0x33, "Server for SB Solutions"},                                 // PRODUCT_SERVER_FOR_SB_SOLUTIONS
    {0x34, "Server Solutions Premium"},                                // PRODUCT_STANDARD_SERVER_SOLUTIONS
    {0x35, "Server Solutions Premium (Server Core)"},                  // PRODUCT_STANDARD_SERVER_SOLUTIONS_CORE
    {0x36, "Small Business Server Essentials EM"},                     // PRODUCT_SB_SOLUTION_SERVER_EM
    {0x37, "Server for SB Solutions EM"},                              // PRODUCT_SERVER_FOR_SB_SOLUTIONS_EM
    {0x38, "MultiPoint Server"},                                       // PRODUCT_SOLUTION_EMBEDDEDSERVER
    {0x39, "MultiPoint Server (Server Core)"},                         // PRODUCT_SOLUTION_EMBEDDEDSERVER_CORE
    {0x3B, "Essential Server Solution Management"},                    // PRODUCT_ESSENTIALBUSINESS_SERVER_MGMT
    {0x3C, "Essential Server Solution Additional"},                    // PRODUCT_ESSENTIALBUSINESS_SERVER_ADDL
    {0x3D, "Essential Server Solution Management SVC"},                // PRODUCT_ESSENTIALBUSINESS_SERVER_MGMTSVC
    {0x3E, "Essential Server Solution Additional SVC"},                // PRODUCT_ESSENTIALBUSINESS_SERVER_ADDLSVC
    {0x3F, "Small Business Server Premium (Server Core)"},             // PRODUCT_SMALLBUSINESS_SERVER_PREMIUM_CORE
    {0x40, "HPC Edition without Hyper-V"},                             // PRODUCT_CLUSTER_SERVER_V
    {0x41, "Embedded Standard"},                                       // PRODUCT_EMBEDDED
    {0x48, "Enterprise Evaluation"},                                   // PRODUCT_ENTERPRISE_EVALUATION
    {0x4C, "MultiPoint Server Standard"},                              // PRODUCT_MULTIPOINT_STANDARD_SERVER
    {0x4D, "MultiPoint Server Premium"},                               // PRODUCT_MULTIPOINT_PREMIUM_SERVER
    {0x4F, "Standard Evaluation"},                                     // PRODUCT_STANDARD_EVALUATION_SERVER
    {0x50, "Datacenter Evaluation"},                                   // PRODUCT_DATACENTER_EVALUATION_SERVER
    {0x54, "Enterprise N Evaluation"},                                 // PRODUCT_ENTERPRISE_N_EVALUATION
    {0x56, "Embedded Industry Pro Retail"},                            // PRODUCT_EMBEDDED_INDUSTRY_A
    {0x57, "Thin PC"},                                                 // PRODUCT_THINPC
    {0x58, "Embedded Pro"},                                            // PRODUCT_EMBEDDED_A
    {0x59, "Embedded Industry Pro"},                                   // PRODUCT_EMBEDDED_INDUSTRY
    {0x5A, "Embedded Enterprise"},                                     // PRODUCT_EMBEDDED_E
    {0x5B, "Embedded Industry Enterprise"},                            // PRODUCT_EMBEDDED_INDUSTRY_E
    {0x5C, "Embedded Industry Enterprise Retail"},                     // PRODUCT_EMBEDDED_INDUSTRY_A_E
    {0x5F, "Storage Server Workgroup Evaluation"},                     // PRODUCT_STORAGE_WORKGROUP_EVALUATION_SERVER
    {0x60, "Storage Server Standard Evaluation"},                      // PRODUCT_STORAGE_STANDARD_EVALUATION_SERVER
    {0x62, "Home N"},                                                  // PRODUCT_CORE_N
    {0x63, "Home China"},                                              // PRODUCT_CORE_COUNTRYSPECIFIC
    {0x64, "Home Single Language"},                                    // PRODUCT_CORE_SINGLELANGUAGE
    {0x65, "Home"},                                                    // PRODUCT_CORE
    {0x67, "Pro with Media Center"},                                   // PRODUCT_PROFESSIONAL_WMC
    {0x6F, "Home with Bing"},                                          // PRODUCT_CORE_CONNECTED
    {0x71, "Home N with Bing"},                                        // PRODUCT_CORE_CONNECTED_N
    {0x73, "Home Single Language with Bing"},                          // PRODUCT_CORE_CONNECTED_SINGLELANGUAGE
    {0x74, "Home China with Bing"},                                    // PRODUCT_CORE_CONNECTED_COUNTRYSPECIFIC
    {0x79, "Education"},                                               // PRODUCT_EDUCATION
    {0x7A, "Education N"},                                             // PRODUCT_EDUCATION_N
    {0x7D, "Enterprise LTSC"},                                         // PRODUCT_ENTERPRISE_S
    {0x7E, "Enterprise N LTSC"},                                       // PRODUCT_ENTERPRISE_S_N
    {0x81, "Enterprise LTSC Evaluation"},                              // PRODUCT_ENTERPRISE_S_EVALUATION
    {0x82, "Enterprise N LTSC Evaluation"},                            // PRODUCT_ENTERPRISE_S_N_EVALUATION
    {0x8A, "Pro Single Language"},                                     // PRODUCT_PRO_SINGLE_LANGUAGE
    {0x8B, "Pro China"},                                               // PRODUCT_PRO_CHINA
    {0x91, "Datacenter (Server Core)"},                                // PRODUCT_DATACENTER_A_SERVER_CORE
    {0x92, "Standard (Server Core)"},                                  // PRODUCT_STANDARD_A_SERVER_CORE
    {0x93, "Datacenter (Server Core)"},                                // PRODUCT_DATACENTER_WS_SERVER_CORE
    {0x94, "Standard (Server Core)"},                                  // PRODUCT_STANDARD_WS_SERVER_CORE
    {0x9F, "Datacenter Evaluation (Server Core)"},                     // PRODUCT_DATACENTER_EVALUATION_SERVER_CORE
    {0xA0, "Standard Evaluation (Server Core)"},                       // PRODUCT_STANDARD_EVALUATION_SERVER_CORE
    {0xA1, "Pro for Workstations"},                                    // PRODUCT_PRO_WORKSTATION
    {0xA2, "Pro N for Workstations"},                                  // PRODUCT_PRO_WORKSTATION_N
    {0xA4, "Pro Education"},                                           // PRODUCT_PRO_FOR_EDUCATION
    {0xA5, "Pro Education N"},                                         // PRODUCT_PRO_FOR_EDUCATION_N
    {0xAB, "Enterprise G"},                                            // PRODUCT_ENTERPRISEG
    {0xAC, "Enterprise G N"},                                          // PRODUCT_ENTERPRISEGN
    {0xAF, "Enterprise multi-session"},                                // PRODUCT_SERVERRDSH
    {0xB2, "S"},                                                       // PRODUCT_CLOUD
    {0xB3, "S N"},                                                     // PRODUCT_CLOUDN
    {0xBC, "IoT Enterprise"},                                          // PRODUCT_IOTENTERPRISE
    {0xBF, "IoT Enterprise LTSC"},                                     // PRODUCT_IOTENTERPRISES
    {0xCA, "SE N"},                                                    // PRODUCT_CLOUDEDITIONN
    {0xCB, "SE"},                                                      // PRODUCT_CLOUDEDITION
    {0xCD, "IoT Enterprise LTSC"},                                     // PRODUCT_IOTENTERPRISESK
    {0xCE, "IoT Enterprise"},                                          // PRODUCT_IOTENTERPRISEK
    {0xCF, "IoT Enterprise LTSC Evaluation"},                          // PRODUCT_IOTENTERPRISESEVAL
    {0x196, "(Server Core)"},                                          // PRODUCT_AZURESTACKHCI_SERVER_CORE
    {0x197, "Datacenter: Azure Edition"},                              // PRODUCT_DATACENTER_SERVER_AZURE_EDITION
    {0x198, "Datacenter: Azure Edition (Server Core)"},                // PRODUCT_DATACENTER_SERVER_CORE_AZURE_EDITION
    {0x199, "Datacenter: Azure Edition (Server Core)"},  // PRODUCT_DATACENTER_WS_SERVER_CORE_AZURE_EDITION
};
