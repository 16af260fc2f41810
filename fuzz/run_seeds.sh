#!/usr/bin/env bash
# One fuzz target as a test: every seed of its corpus, then SECONDS of fuzzing from them. What
# the run finds goes to a temporary folder (the seeds stay as they are); a crash, a leak or a
# sanitizer's report fails the test, its input kept in the working folder as
# <target>-crash-<hash> (and printed in the output).
# usage: run_seeds.sh TARGET SEEDS SECONDS
set -euo pipefail
target="$1" seeds="$2" seconds="$3"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
mkdir "$work/found"
"$target" -max_total_time="$seconds" -timeout=20 -rss_limit_mb=2048 -print_final_stats=1 \
  -artifact_prefix="$PWD/$(basename "$target")-" "$work/found" "$seeds"
