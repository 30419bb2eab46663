#!/usr/bin/env bash
# The hardware section against Linux's own figures (Wine fills the registry and the memory status from them), and the
# firmware strings of a machine the test describes: Wine builds its SMBIOS table from /sys/class/dmi/id, which a mount
# namespace of our own replaces.
# shellcheck source=lib.sh
. "$(dirname "$0")/lib.sh"
run -H
[ "$status" = 0 ] || fail "-H: status $status"
field() { sed -n "s/^$1 *: //p" "$work/out"; }
model=$(sed -n 's/^model name\t*: //p' /proc/cpuinfo | head -n 1)
[ "$(field Name)" = "$model" ] || fail "processor: $(field Name), not $model"
[ "$(field 'Logical Processors')" = "$(nproc --all)" ] || fail "logical processors: $(field 'Logical Processors')"
# Packages and cores as Linux counts them: its sockets, and its cores of every socket.
sockets=$(lscpu -p=SOCKET | grep -v '^#' | sort -u | wc -l)
cores=$(lscpu -p=SOCKET,CORE | grep -v '^#' | sort -u | wc -l)
[ "$(field Packages)" = "$sockets" ] || fail "packages: $(field Packages), not Linux's $sockets sockets"
[ "$(field Cores)" = "$cores" ] || fail "cores: $(field Cores), not Linux's $cores"
# Wine 8's ~MHz (seen with strace): cpufreq's cpuinfo_max_freq or scaling_max_freq where the kernel has them, else
# /proc/cpuinfo's "cpu MHz" in whole MHz (2596 for 2596.142 here).
sed -n 's/^cpu MHz\t*: \([0-9]*\).*/\1 MHz/p' /proc/cpuinfo >"$work/speeds"
for file in /sys/devices/system/cpu/cpu0/cpufreq/{cpuinfo,scaling}_max_freq; do
  [ ! -r "$file" ] || echo "$(($(cat "$file") / 1000)) MHz" >>"$work/speeds"
done
grep -qxF "$(field Speed)" "$work/speeds" || fail "speed: $(field Speed), not one of $(paste -sd , "$work/speeds")"
total=$(awk '/^MemTotal:/ { print int($2 / 1024) }' /proc/meminfo)
usable=$(field Usable)
usable=${usable% MB}
((usable * 100 >= total * 99 && usable * 100 <= total * 101)) || fail "usable memory $usable MB, not $total MB"

# The machine's strings as the test writes them; chassis type 10 is a notebook.
mkdir "$work/dmi"
cp -a /sys/class "$work/dmi/" 2>/dev/null
mkdir -p "$work/dmi/class/dmi/id"
while read -r file text; do printf '%s\n' "$text" >"$work/dmi/class/dmi/id/$file"; done <<'EOF2'
sys_vendor Quorvel Test Works
product_name Model 7, "rev. B"
product_serial SN 0042
chassis_type 10
bios_vendor Quorvel BIOS Inc.
bios_version 2.10.7
bios_date 11/30/2026
board_vendor Quorvel Boards
board_name QB-450
board_serial /BS-0042/
EOF2
# shellcheck disable=SC2016 # expanded by the inner shell
unshare -m sh -c 'mount --bind "$1/dmi/class" /sys/class && "$2" "$3" -H' - "$work" "$RUNNER" "$EXE" \
  </dev/null >"$work/raw" 2>"$work/err"
status=$?
# Wine 8 puts Linux's machine ID in its table as the UUID, in the byte order of the SMBIOS 2.4 it says (measured).
uuid=$(sed 's/^\(.\{8\}\)\(.\{4\}\)\(.\{4\}\)\(.\{4\}\)/\1-\2-\3-\4-/' /etc/machine-id | tr a-f A-F)
got=$(tr -d '\r' <"$work/raw" | sed -n 's/^UUID *: //p')
[ ! -r /etc/machine-id ] || [ "$got" = "$uuid" ] || fail "UUID: $got, not the machine ID $uuid"
tr -d '\r' <"$work/raw" | sed -n '/^Machine$/,/^Processors$/p' | sed 's/^\(UUID *: \).*/\1*/' >"$work/out"
expect 0 "-H, the test's firmware strings" <<'EOF2'
Machine
-------

Manufacturer          : Quorvel Test Works
Model                 : Model 7, "rev. B"
Serial Number         : SN 0042
UUID                  : *
Chassis Type          : Notebook

BIOS
----

Vendor                : Quorvel BIOS Inc.
Version               : 2.10.7
Release Date          : 11/30/2026

Baseboard
---------

Manufacturer          : Quorvel Boards
Product               : QB-450
Serial Number         : /BS-0042/

Processors
EOF2

# The fleet table of that report: its -H columns as the test wrote them and as Linux counts.
mkdir "$work/reports"
cp "$work/raw" "$work/reports/HW-1.txt"
"$RUNNER" "$TABLE" "Z:${work//\//\\}\\reports" </dev/null >"$work/table.csv" 2>/dev/null || fail "table: status $?"
python3 - "$work/table.csv" "$model" "$(nproc --all)" "$total" <<'EOF2' || fail "table: the -H columns"
import csv, sys
row = next(csv.DictReader(open(sys.argv[1], newline="", encoding="cp1252")))
columns = ["Manufacturer", "Model", "SerialNumber", "Processor", "LogicalProcessors"]
got = [row[column] for column in columns]
assert got == ["Quorvel Test Works", 'Model 7, "rev. B"', "SN 0042", sys.argv[2], sys.argv[3]], got
assert abs(int(row["InstalledMemoryMB"]) - int(sys.argv[4])) * 100 <= int(sys.argv[4]), row
EOF2
