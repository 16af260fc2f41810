#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test through CTest: the Linux build's, and
# the Windows build's under Wine (listed as windows.*) where mingw-w64 and Wine are installed,
# as scripts/install-deps.sh does; then the suite again under the sanitizers
# (scripts/test-sanitizers.sh). VESK_SANITIZERS=0 leaves the sanitizers out, for a quick run.
#
# Tests mostly wait (for a board, a server, a timer), builds keep the processors busy: the
# Windows build compiles while the test tools install, the Linux and Windows suite runs while
# the sanitizer builds compile (the soaks under AddressSanitizer too, once their programs are
# built), and the two sanitizer suites run side by side. Each suite writes its own log
# (build*/test-suite.log); a suite that passed is summed up, one that failed is printed whole.
set -euo pipefail
cd "$(dirname "$0")/.."

# Each job in the background is a process group of its own (setsid), so that a failed step
# stops it whole: no build or suite keeps running behind the script.
pids=()
stop_jobs() {
  local pid
  for pid in "${pids[@]}"; do kill -- "-$pid" 2>/dev/null || true; done
}
trap stop_jobs EXIT

# The Windows cross build needs a few packages only: it compiles while the rest installs.
./scripts/install-deps.sh --windows
windows_build=""
if command -v x86_64-w64-mingw32-g++-posix >/dev/null; then
  mkdir -p build-windows
  echo "test.sh: the Windows build compiles while the rest installs (log: build-windows/build.log)"
  setsid ./scripts/build-windows.sh >build-windows/build.log 2>&1 &
  windows_build="$!"
  pids+=("$windows_build")
fi
./scripts/install-deps.sh --tests
if [ -n "$windows_build" ] && ! wait "$windows_build"; then
  echo "== the Windows build FAILED, its log (build-windows/build.log):"
  cat build-windows/build.log
  exit 1
fi
pids=()
if [ -n "$windows_build" ] && command -v wine >/dev/null; then
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
  setsid "$@" >"$log" 2>&1 &
  pids+=("$!")
}

suite "Linux and Windows" build/test-suite.log \
  ctest --test-dir build --output-on-failure -j "$((2 * $(nproc)))" --timeout 300
if [ "${VESK_SANITIZERS:-1}" != 0 ]; then
  # The soaks take minutes of mostly waiting and need only the programs: under
  # AddressSanitizer they run while the test programs and the ThreadSanitizer build compile.
  ./scripts/test-sanitizers.sh build-asan vesk-monitor vesk-cli vesk-board-sim
  suite "AddressSanitizer soak" build-asan/soak-suite.log ./scripts/test-sanitizers.sh asan-soak
  ./scripts/test-sanitizers.sh build-asan
  ./scripts/test-sanitizers.sh build-tsan
  suite AddressSanitizer build-asan/test-suite.log ./scripts/test-sanitizers.sh asan -E '^soak\.'
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
