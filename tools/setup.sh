# shellcheck shell=bash
# Installs what the build and the tests need on Debian 12, as root. Sourced by
# run.sh and test.sh; installs nothing that is already there. Returns
# non-zero when the installation fails.

sysreport_packages=(cmake ninja-build g++ googletest libgtest-dev g++-mingw-w64-i686-win32 g++-mingw-w64-x86-64-win32
  wine wine32:i386 wine64 zip clang-format shfmt shellcheck clang libclang-rt-14-dev dmidecode python3)

sysreport_missing() {
  local missing="" package
  for package in "${sysreport_packages[@]}"; do
    dpkg-query -W -f='${Status}\n' "$package" 2>/dev/null | grep -q "ok installed" || missing="$missing $package"
  done
  echo "$missing"
}

sysreport_install() {
  local missing
  missing=$(sysreport_missing)
  if [ -n "$missing" ]; then
    echo "setup: installing$missing"
    if ! dpkg --print-foreign-architectures | grep -qx i386; then
      dpkg --add-architecture i386 || return 1
    fi
    apt-get update -q || return 1
    DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${sysreport_packages[@]}" || return 1
  fi
}

# Wine runs a 32-bit program through its 32-bit Linux loader, which a kernel
# without 32-bit execution (some virtual machines) cannot start.
sysreport_wine32_works() {
  /usr/lib/wine/wineserver32 --version >/dev/null 2>&1
}
