#!/usr/bin/env bash
# Builds the program twice (warnings as errors; AddressSanitizer + UBSan) and runs
# every test in both builds.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh

export XDG_RUNTIME_DIR="${XDG_RUNTIME_DIR:-$(mktemp -d)}"
chmod 700 "$XDG_RUNTIME_DIR"

for preset in default asan; do
    echo "== ${preset} build =="
    cmake --preset "$preset"
    cmake --build --preset "$preset"
    ctest --preset "$preset"
done
