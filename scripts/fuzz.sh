#!/usr/bin/env bash
# Fuzzes the core's readers of outside input with libFuzzer, each target for a bounded time.
# Usage: scripts/fuzz.sh [SECONDS_PER_TARGET] [TARGET ...]   (default 60 s, every target)
# Builds into build-fuzz/ with clang, AddressSanitizer and UndefinedBehaviorSanitizer. The
# corpus grows in build-fuzz/corpus/<target>, seeded from fuzz/corpus/<target>; a crash
# leaves its input in build-fuzz/crashes/<target>/ and ends the script with status 1.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh --tests
seconds="${1:-60}"
shift || true
CXX=clang++ cmake -S fuzz -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build-fuzz -j "$(nproc)"
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for seeds in fuzz/corpus/*/; do targets+=("$(basename "$seeds")"); done
fi
status=0
for target in "${targets[@]}"; do
  corpus="build-fuzz/corpus/$target"
  crashes="build-fuzz/crashes/$target"
  mkdir -p "$corpus" "$crashes"
  echo "== $target, ${seconds} s"
  if ! "build-fuzz/$target" -max_total_time="$seconds" -print_final_stats=1 \
      -artifact_prefix="$crashes/" "$corpus" "fuzz/corpus/$target" 2>"build-fuzz/$target.log"; then
    echo "$target: a crash, its input in $crashes/ (log: build-fuzz/$target.log)"
    status=1
  fi
  grep -E "stat::number_of_executed_units|stat::peak_rss_mb" "build-fuzz/$target.log" || true
done
exit "$status"
