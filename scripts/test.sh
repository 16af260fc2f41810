#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test through CTest: the Linux build's, and
# the Windows build's under Wine (listed as windows.*) where mingw-w64 and Wine are installed,
# as scripts/install-deps.sh does; then the suite again under the sanitizers
# (scripts/test-sanitizers.sh). VESK_SANITIZERS=0 leaves the sanitizers out, for a quick run.
# Tests mostly wait (for a board, a server, a timer): twice as many run at once as there are
# processors.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh --tests
if command -v x86_64-w64-mingw32-g++-posix >/dev/null && command -v wine >/dev/null; then
  ./scripts/build-windows.sh
  ./scripts/build.sh --tests -DVESK_WINDOWS_BUILD="$PWD/build-windows"
else
  echo "test.sh: no mingw-w64 or Wine: the Windows tests are left out" >&2
  ./scripts/build.sh --tests -DVESK_WINDOWS_BUILD=
fi
ctest --test-dir build --output-on-failure -j "$((2 * $(nproc)))" --timeout 300
if [ "${VESK_SANITIZERS:-1}" != 0 ]; then
  ./scripts/test-sanitizers.sh
fi
