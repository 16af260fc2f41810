#!/usr/bin/env bash
# Run by ctest as it reads the tests (wine_prefix.cmake): makes this run's Wine prefix folder in
# a temporary folder and prints its path, starts the prefix's server for the whole run (its
# output, a dump of its objects when it ends among it, goes nowhere), and has the folder
# removed once this ctest has ended, whichever tests it ran and however it ended. The prefix is
# filled by prepare_prefix.sh when a Windows program first runs in it.
set -euo pipefail
ctest_pid=$PPID
here="$(cd "$(dirname "$0")" && pwd)"
WINEPREFIX="$(mktemp -d -t vesk-wine-XXXXXX)"
export WINEPREFIX
wineserver -p </dev/null >/dev/null 2>&1
# In a session of its own, so that an interrupt of ctest does not end it first.
setsid -f bash -c 'tail --pid="$0" -f /dev/null; exec "$1"' "$ctest_pid" "$here/remove_prefix.sh" \
  </dev/null >/dev/null 2>&1
echo "$WINEPREFIX"
