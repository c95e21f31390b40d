#!/usr/bin/env bash
# Installs what is missing, builds the viewer and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTESSALY_TESTS=OFF >/dev/null
cmake --build build -j"$(nproc)" --target tessaly
exec build/ui/tessaly "$@"
