#!/usr/bin/env bash
# Builds the desktop program and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."

TORMEL_WITH_OFFICE="${TORMEL_WITH_OFFICE:-1}" scripts/install-deps.sh
cmake --preset release >/dev/null
cmake --build --preset release --target tormel tormel-calc

if [ -x build/release/app/tormel ] && { [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; }; then
    exec build/release/app/tormel "$@"
fi
if [ -x build/release/cli/tormel-calc ]; then
    echo "Нет дисплея: вместо окна программы считается пример examples/feeder.json командной строкой."
    exec build/release/cli/tormel-calc --format text examples/feeder.json
fi
echo "Нет дисплея, а программа командной строки ещё не собрана: запустите scripts/test.sh."
