#!/usr/bin/env bash
# Checks a udev rules file: with `udevadm verify` where this udev has it, and always by a parse of
# its own: every line a comment, a blank or comma-separated KEY OP "VALUE" pairs of known keys
# with an operator the key takes, every GOTO with its LABEL, and the cable rule's assignments.
set -euo pipefail
rules=$1

if udevadm verify --help >/dev/null 2>&1; then
  udevadm verify --resolve-names=never "$rules"
fi

awk '
function fail(why) { printf "%s:%d: %s: %s\n", FILENAME, FNR, why, $0; bad = 1 }
BEGIN {
  split("ACTION DEVPATH KERNEL KERNELS SUBSYSTEM SUBSYSTEMS DRIVER DRIVERS ATTR ATTRS ENV TAG TAGS " \
        "TEST PROGRAM RESULT NAME SYMLINK OWNER GROUP MODE OPTIONS LABEL GOTO IMPORT RUN", k, " ")
  for (i in k) known[k[i]] = 1
  split("ACTION DEVPATH KERNEL KERNELS SUBSYSTEMS DRIVERS ATTRS TAGS TEST PROGRAM RESULT", m, " ")
  for (i in m) matchonly[m[i]] = 1
}
/^[ \t]*(#|$)/ { next }
{
  line = $0
  while (line != "") {
    if (!match(line, /^[ \t]*[A-Z_]+(\{[^}]+\})?[ \t]*(==|!=|\+=|-=|:=|=)[ \t]*"[^"]*"[ \t]*/)) {
      fail("not KEY OP \"VALUE\""); break
    }
    pair = substr(line, 1, RLENGTH); line = substr(line, RLENGTH + 1)
    key = pair; sub(/^[ \t]*/, "", key); sub(/[{ \t=!+:-].*/, "", key)
    op = pair; sub(/^[^=!+:-]*/, "", op); sub(/".*/, "", op); gsub(/[ \t]/, "", op)
    value = pair; sub(/^[^"]*"/, "", value); sub(/".*/, "", value)
    if (!(key in known)) fail("unknown key " key)
    if ((key in matchonly) && op != "==" && op != "!=") fail(key " only matches")
    if ((key == "LABEL" || key == "GOTO" || key == "MODE" || key == "GROUP") && (op == "==" || op == "!=")) fail(key " only assigns")
    if (key == "GOTO") gotos[value] = FNR
    if (key == "LABEL") labels[value] = 1
    if (key == "MODE" && value !~ /^0[0-7][0-7][0-7]$/) fail("MODE " value)
    if (key == "GROUP") groups[value] = 1
    if (key == "TAG" && value == "uaccess") uaccess = 1
    if (key == "ENV" && pair ~ /ID_MM_DEVICE_IGNORE/) mm = 1
    if (line == "") break
    if (!sub(/^,[ \t]*/, "", line)) { fail("pairs are separated by commas"); break }
    if (line == "") fail("trailing comma")
  }
}
END {
  for (g in gotos) if (!(g in labels)) { printf "%s: GOTO %s has no LABEL\n", FILENAME, g; bad = 1 }
  if (!("dialout" in groups)) { print FILENAME ": the cables are not given to dialout"; bad = 1 }
  if (!uaccess) { print FILENAME ": no uaccess tag"; bad = 1 }
  if (!mm) { print FILENAME ": the modem manager is not told to ignore the cables"; bad = 1 }
  exit bad
}' "$rules"
echo "udev rule: $rules parses"
