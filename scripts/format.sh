#!/usr/bin/env bash
# Applies the project's .clang-format to every C++ file git knows of (or is about to).
set -euo pipefail
cd "$(dirname "$0")/.."
git ls-files --cached --others --exclude-standard -- '*.cpp' '*.h' | xargs -r clang-format -i
