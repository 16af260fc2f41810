#!/usr/bin/env bash
# Installs what is missing, builds, and opens the monitor.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/build.sh
exec build/bin/vesk-monitor
