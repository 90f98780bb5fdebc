#!/usr/bin/env bash
# Installs what is needed, builds everything and runs every test.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/tools/install-deps.sh"
build="${KESTO_BUILD_DIR:-$root/build}"
# KESTO_CMAKE_ARGS adds options (CI: -DKESTO_WARNINGS_AS_ERRORS=ON).
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo ${KESTO_CMAKE_ARGS:-}
cmake --build "$build"
mkdir -p /tmp/kesto-runtime && chmod 700 /tmp/kesto-runtime
ctest --test-dir "$build" --output-on-failure --timeout 300 -j2
