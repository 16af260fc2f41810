#!/usr/bin/env bash
# Pictures of the monitor connected to the simulated board, one PNG per page and model, taken
# under Xvfb, the charts showing a generated history of the last two days.
# Usage: scripts/screenshots.sh [OUTPUT_FOLDER] [PRESET[:no-lens] ...]
# (default folder: build/screenshots; presets as vesk-board-sim --help lists them; ":no-lens"
# shows the lens pages with no lens answering).
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/build.sh --tests
out="${1:-build/screenshots}"
shift || true
mkdir -p "$out"
history="$(mktemp --suffix=.bin)"
trap 'rm -f "$history"' EXIT
build/bin/vesk-cli history generate --days 2 "$history" >/dev/null
QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 1280x1024x24" \
  build/bin/vesk-screenshots --history "$history" "$out" "$@"
