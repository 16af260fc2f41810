#!/usr/bin/env bash
# Ends the Wine prefix this test run made: its server, then its folder.
set -euo pipefail
case "${WINEPREFIX:-}" in
  */vesk-wine-*) ;;
  *)
    echo "remove_prefix.sh: \"${WINEPREFIX:-}\" is not a prefix of the test run" >&2
    exit 1
    ;;
esac
wineserver -k 2>/dev/null || true
wineserver -w 2>/dev/null || true
rm -rf "$WINEPREFIX"
