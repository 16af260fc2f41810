#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test through CTest: the Linux build's, and
# the Windows build's under Wine (listed as windows.*) where mingw-w64 and Wine are installed,
# as scripts/install-deps.sh does; then the suite again under the sanitizers
# (scripts/test-sanitizers.sh). VESK_SANITIZERS=0 leaves the sanitizers out, for a quick run.
#
# Tests mostly wait (for a board, a server, a timer), builds keep the processors busy: the
# Linux and Windows suite runs while the sanitizer builds compile, and the two sanitizer suites
# run side by side. Each suite writes its own log (build*/test-suite.log); a suite that passed
# is summed up, one that failed is printed whole.
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

suites=()
# suite NAME LOG COMMAND...: runs the command in the background, its output into LOG.
suite() {
  local name="$1" log="$2"
  shift 2
  suites+=("$name:$log")
  echo "test.sh: the $name suite runs (log: $log)"
  "$@" >"$log" 2>&1 &
  pids+=("$!")
}
pids=()
# A failed build must not leave a suite running behind the script.
trap 'kill "${pids[@]}" 2>/dev/null || true' EXIT

suite "Linux and Windows" build/test-suite.log \
  ctest --test-dir build --output-on-failure -j "$((2 * $(nproc)))" --timeout 300
if [ "${VESK_SANITIZERS:-1}" != 0 ]; then
  ./scripts/test-sanitizers.sh build
  suite AddressSanitizer build-asan/test-suite.log ./scripts/test-sanitizers.sh asan
  suite ThreadSanitizer build-tsan/test-suite.log ./scripts/test-sanitizers.sh tsan
fi

failed=0
for i in "${!pids[@]}"; do
  name="${suites[$i]%%:*}"
  log="${suites[$i]#*:}"
  if wait "${pids[$i]}"; then
    echo "== $name suite: $(grep -m1 'tests passed' "$log")"
    grep -A20 'The following tests did not run' "$log" || true
  else
    failed=1
    echo "== $name suite FAILED, its log ($log):"
    cat "$log"
  fi
done
pids=()
exit "$failed"
