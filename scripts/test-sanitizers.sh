#!/usr/bin/env bash
# The test suite again under the sanitizers (CMakePresets.json, clang at -O1): every test under
# AddressSanitizer and UndefinedBehaviorSanitizer in build-asan/, with the fuzz targets run
# over their seeds, and the tests of the threaded parts (link, poll, log, upload, station,
# HTTP, Alpaca, MQTT and the web page, the command line's serve) under ThreadSanitizer in
# build-tsan/. A report fails the test that produced it.
#   test-sanitizers.sh [build | build-asan [TARGET...] | build-tsan
#                       | asan [CTEST OPTION...] | asan-soak | tsan]
# build builds both; build-asan and build-tsan one (build-asan only the targets named, when
# some are); asan and tsan run one suite (built before), asan-soak the soak tests alone
# (tests/soak, which need only the programs). Without an argument both are built, then both
# suites run. scripts/test.sh calls the steps one by one, to run the soaks while the rest
# compiles.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs="$(nproc)"
source scripts/compiler-cache.sh

# Qt is not built for ThreadSanitizer, so its runs are the threaded core's tests, without Qt.
threaded=(test_common test_link test_acquisition test_history test_posting test_station
          test_http test_integrations test_web test_cli vesk-cli vesk-board-sim)

build_asan() {
  cmake --preset asan "${cache_args[@]}" >/dev/null
  local targets=()
  if [ $# -gt 0 ]; then targets=(--target "$@"); fi
  cmake --build build-asan -j "$jobs" "${targets[@]}"
}

build_tsan() {
  cmake --preset tsan "${cache_args[@]}" >/dev/null
  cmake --build build-tsan -j "$jobs" --target "${threaded[@]}"
}

# Tests mostly wait (for the board, a server, a timer): twice as many run as there are cores.
# asan_in FOLDER [CTEST OPTION...]: the tests under FOLDER of build-asan.
asan_in() {
  local folder="$1"
  shift
  # Allocation stacks by frame pointers (the default): the slow unwinder made the Qt tests six
  # times slower. The suppressions name the frame that allocates, which that unwinder finds.
  ASAN_OPTIONS="detect_leaks=1:halt_on_error=1:detect_stack_use_after_return=1" \
  LSAN_OPTIONS="suppressions=$PWD/tests/sanitizers/lsan.supp:print_suppressions=0" \
  UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1" \
    ctest --test-dir "$folder" --output-on-failure -j "$((2 * jobs))" --timeout 600 "$@"
}

asan() {
  asan_in build-asan "$@"
}

# The soak folder's own test list: ctest reads no other folder's, so the test programs the
# build is still making are not listed while it runs.
asan_soak() {
  asan_in build-asan/tests/soak
}

tsan() {
  TSAN_OPTIONS="halt_on_error=1:second_deadlock_stack=1:suppressions=$PWD/tests/sanitizers/tsan.supp" \
    ctest --test-dir build-tsan --output-on-failure -j "$((2 * jobs))" --timeout 600 \
      -R '^(common|link|acquisition|history|posting|station|http|integrations|web|cli)\.'
}

step="${1:-all}"
shift || true
case "$step" in
  build) build_asan; build_tsan ;;
  build-asan) build_asan "$@" ;;
  build-tsan) build_tsan ;;
  asan) asan "$@" ;;
  asan-soak) asan_soak ;;
  tsan) tsan ;;
  all) build_asan; build_tsan; asan; tsan ;;
  *)
    echo "usage: test-sanitizers.sh [build | build-asan [TARGET...] | build-tsan" \
      "| asan [CTEST OPTION...] | asan-soak | tsan]" >&2
    exit 2
    ;;
esac
