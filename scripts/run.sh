#!/usr/bin/env bash
# Installs what building and running need (not the test tools), builds the three programs,
# starts the simulated board on COM3 (the monitor's default port) and opens the monitor; the
# simulated board stops when the monitor exits.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/build.sh --programs

bin=build/bin
port="$bin/ports/COM3"
# A link left by a board that was killed would pass for the new one.
rm -f "$port"
"$bin/vesk-board-sim" --port 3 >/dev/null &
sim=$!
trap 'kill "$sim" 2>/dev/null || true; wait "$sim" 2>/dev/null || true' EXIT

# Wait (at most 10 s) for the board to link its port.
for _ in $(seq 100); do
  [ -e "$port" ] && break
  if ! kill -0 "$sim" 2>/dev/null; then
    echo "run.sh: the simulated board did not start" >&2
    exit 1
  fi
  sleep 0.1
done
if [ ! -e "$port" ]; then
  echo "run.sh: the simulated board did not link $port" >&2
  exit 1
fi

"$bin/vesk-monitor" "$@"
