#!/usr/bin/env bash
# Installs what is missing and builds everything into build/ (programs in build/bin).
# Arguments are passed to CMake's configure step.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVESK_WERROR=ON "$@" >/dev/null
cmake --build build -j "$(nproc)"
