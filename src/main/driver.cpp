#include "main/driver.h"

#include "devices/devices.h"
#include "hardware/hardware.h"
#include "network/network.h"
#include "os/os.h"
#include "programs/programs.h"
#include "report/report.h"
#include "report/words.h"
#include "storage/storage.h"
#include "users/users.h"

// One bit per switch letter; 4 belongs to none.
static const DWORD kSwitchDevices = 1;
static const DWORD kSwitchOs = 2;
static const DWORD kSwitchStorage = 8;
static const DWORD kSwitchUsers = 0x10;
static const DWORD kSwitchHardware = 0x20;
static const DWORD kSwitchNetwork = 0x40;
static const DWORD kSwitchPrograms = 0x80;

static void print_banner(void) {
  printf("\n---------------------------------------------------------\n");
  printf("%s1.01\n", kBannerProduct);
  printf(" Copyright (C) 2026 The Quorvel developers\n");
  printf(" Updates and error reports: https://quorvel.example.org/\n");
  printf("---------------------------------------------------------\n\n");
}

static const char kNoSwitch[] = "no switch given";

void print_usage(const char *why) {
  printf("Usage: [-<switch options>]\n\n");
  printf("The following switch options can be combined:\n\n");
  printf("-D Device information\n");
  printf("-H Hardware information\n");
  printf("-N Network information\n");
  printf("-O OS information\n");
  printf("-P Programs and updates\n");
  printf("-S Storage Media information\n");
  printf("-U Users (NT 4.0 and later)\n");
  printf("\n\n");
  end_process(1, why);
}

[[noreturn]] static void unknown_switch(char letter) {
  printf("Unknown switch - %c\n\n", letter);
  char why[96];
  sprintf(why, "unknown switch - %c; the letters are D, H, N, O, P, S and U, in one argument", letter);
  print_usage(why);
}

int run_main(int argc, char **argv) {
  DWORD start = GetTickCount();
  print_banner();

  if (argc < 2) print_usage(kNoSwitch);
  const char *argument = argv[1];
  if (argument[0] == '?') print_usage(kNoSwitch);

  if (argument[0] == '-') {
    if (argument[1] == '\0') print_usage(kNoSwitch);
    DWORD seen = 0;
    for (const char *letter = argument + 1; *letter; ++letter) {
      switch (*letter) {
        case 'D':
          if (!(seen & kSwitchDevices)) report_devices();
          seen |= kSwitchDevices;
          break;
        case 'H':
          if (!(seen & kSwitchHardware)) report_hardware();
          seen |= kSwitchHardware;
          break;
        case 'N':
          if (!(seen & kSwitchNetwork)) report_network();
          seen |= kSwitchNetwork;
          break;
        case 'O':
          if (!(seen & kSwitchOs)) report_os();
          seen |= kSwitchOs;
          break;
        case 'P':
          if (!(seen & kSwitchPrograms)) report_programs();
          seen |= kSwitchPrograms;
          break;
        case 'S':
          seen |= kSwitchStorage;
          report_drives();
          break;
        case 'U':
          seen |= kSwitchUsers;
          report_users();
          break;
        default: unknown_switch(*letter);
      }
    }
  }

  DWORD elapsed = GetTickCount() - start;
  printf("\n%s%d ms\n", kTotalTime, (int)elapsed);
  return 0;
}
