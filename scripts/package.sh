#!/usr/bin/env bash
# Builds the Debian package build/package/tormel_<version>_<arch>.deb from an
# optimised build; install it with: sudo apt install ./build/package/tormel_*.deb
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh

cmake --preset package
cmake --build --preset package
cpack --preset package
ls build/package/tormel_*.deb
