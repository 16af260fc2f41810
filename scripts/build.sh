#!/usr/bin/env bash
# Installs what is missing and builds into build/ (programs in build/bin).
#   build.sh [--tests] [--programs] [CMAKE_ARGUMENTS...]
# --tests installs the test tools too and builds the tests (CMake's VESK_TESTS=ON); without
# it the tests are built only when their tools are already there. --programs builds the three
# programs alone. The other arguments go to CMake's configure step.
set -euo pipefail
cd "$(dirname "$0")/.."
deps=()
configure=()
targets=()
for arg in "$@"; do
  case "$arg" in
    --tests) deps=(--tests); configure+=(-DVESK_TESTS=ON) ;;
    --programs) targets=(--target vesk-monitor vesk-cli vesk-board-sim) ;;
    *) configure+=("$arg") ;;
  esac
done
./scripts/install-deps.sh "${deps[@]}"
source scripts/compiler-cache.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVESK_WERROR=ON \
  "${cache_args[@]}" "${configure[@]}" >/dev/null
cmake --build build -j "$(nproc)" "${targets[@]}"
