#!/usr/bin/env bash
# Runs a Windows test program under Wine, in the prefix this test run made (WINEPREFIX), so
# the user's own ~/.wine is never touched. Windows console output ends its lines with CR LF:
# the CR goes, so CTest reads the test listing as it does on Linux.
set -euo pipefail
if [ -z "${WINEPREFIX:-}" ]; then
  echo "wine_run.sh: no WINEPREFIX; the Linux build's ctest makes one for each run" >&2
  exit 1
fi
"$(dirname "$0")/prepare_prefix.sh"
export WINEDEBUG="${WINEDEBUG:--all}"
wine "$@" | tr -d '\r'
