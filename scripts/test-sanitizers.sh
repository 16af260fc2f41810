#!/usr/bin/env bash
# The test suite again under the sanitizers (CMakePresets.json): every test under
# AddressSanitizer and UndefinedBehaviorSanitizer in build-asan/, then the tests of the threaded
# parts (link, poll, log, upload, station, Alpaca and MQTT, the command line's serve) under
# ThreadSanitizer in build-tsan/. Called by scripts/test.sh; a report fails the test that
# produced it. On an idle 2-core machine the builds take about 15 minutes and the runs 6.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs="$(nproc)"
launcher=()
if command -v ccache >/dev/null; then launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache); fi

cmake --preset asan "${launcher[@]}" >/dev/null
cmake --build build-asan -j "$jobs"
# Full stacks on allocation: Qt is built without frame pointers, and the suppressions name
# Qt frames deep in the stack.
ASAN_OPTIONS="detect_leaks=1:halt_on_error=1:detect_stack_use_after_return=1:fast_unwind_on_malloc=0" \
LSAN_OPTIONS="suppressions=$PWD/tests/sanitizers/lsan.supp:print_suppressions=0" \
UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1" \
  ctest --test-dir build-asan --output-on-failure -j "$jobs" --timeout 600

# Qt is not built for ThreadSanitizer, so its runs are the threaded core's tests, without Qt.
threaded=(test_common test_link test_acquisition test_history test_posting test_station
          test_integrations test_cli vesk-cli vesk-board-sim)
cmake --preset tsan "${launcher[@]}" >/dev/null
cmake --build build-tsan -j "$jobs" --target "${threaded[@]}"
TSAN_OPTIONS="halt_on_error=1:second_deadlock_stack=1:suppressions=$PWD/tests/sanitizers/tsan.supp" \
  ctest --test-dir build-tsan --output-on-failure -j "$jobs" --timeout 600 \
    -R '^(common|link|acquisition|history|posting|station|integrations|cli)\.'
