#!/usr/bin/env bash
# Fills this run's Wine prefix (open_prefix.sh made it empty) once, whichever Windows program
# or test comes first; the others wait for it.
set -euo pipefail
case "${WINEPREFIX:-}" in
  */vesk-wine-*) ;;
  *)
    echo "prepare_prefix.sh: \"${WINEPREFIX:-}\" is not a prefix of the test run" >&2
    exit 1
    ;;
esac
exec 9>"$WINEPREFIX/.prepare-lock"
flock 9
if [ ! -e "$WINEPREFIX/.prepared" ]; then
  # No .NET or HTML engine to offer to install: nothing here needs them. The services wineboot
  # starts run as long as the prefix's server: they must not hold the lock.
  WINEDLLOVERRIDES="mscoree,mshtml=" wineboot -i </dev/null >/dev/null 2>&1 9>&- || true
  if [ ! -d "$WINEPREFIX/drive_c/windows/system32" ] || [ ! -d "$WINEPREFIX/dosdevices" ]; then
    echo "prepare_prefix.sh: wineboot did not fill $WINEPREFIX" >&2
    exit 1
  fi
  touch "$WINEPREFIX/.prepared"
fi
