#!/usr/bin/env bash
# Installs what is needed, builds, installs the timer into its program folder
# (~/KestoTimer unless KESTO_HOME says otherwise) and starts it.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/tools/install-deps.sh"
build="${KESTO_BUILD_DIR:-$root/build}"
home="$(realpath -m "${KESTO_HOME:-$HOME/KestoTimer}")" # the desktop entry needs a full path
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_INSTALL_PREFIX="$home"
cmake --build "$build" --target KestoTimer
cmake --install "$build" --component program
exec "$home/KestoTimer" "$@"
