#!/usr/bin/env bash
# Builds the program twice (warnings as errors; AddressSanitizer + UBSan) and runs
# every test in both builds; then builds the fuzz targets with clang and gives each a
# short smoke run from a fixed seed (scripts/fuzz.sh runs them for longer).
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

if command -v clang++-14 >/dev/null; then
    echo "== fuzz build =="
    cmake --preset fuzz
    cmake --build --preset fuzz
    ctest --preset fuzz
else
    echo "clang++-14 is missing: the fuzz targets were not built." >&2
    exit 1
fi
