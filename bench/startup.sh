#!/bin/sh
# Start-up of the real program under Xvfb: from the start of the process to
# its main window ("Kesto Timer - ..." in the title) mapped and first painted,
# as the X server sees it (kesto_first_paint: no polling, the DAMAGE
# extension reports the first drawing), warm (the files in the page cache)
# and cold (the program's libraries and Qt's plugins evicted from the page
# cache first, with posix_fadvise), and the resident memory two seconds after
# start (idle, window shown).
#   bench/startup.sh build/bin/KestoTimer [runs]
# Port 1 is a socat pseudo-terminal and the program folder gets the sound
# folder from beside the program, so no message box comes first. A desktop
# session has a D-Bus session bus, which Qt asks at start: without one, as
# under a bare Xvfb, libdbus first tries to launch one (about 12 ms here). So
# the script runs under a session bus of its own unless one is there;
# KESTO_NO_SESSION_BUS=1 measures without.
set -eu
if [ -z "${DBUS_SESSION_BUS_ADDRESS:-}" ] && [ -z "${KESTO_NO_SESSION_BUS:-}" ] &&
    command -v dbus-run-session >/dev/null; then
    exec dbus-run-session -- "$0" "$@"
fi
program=$(realpath "${1:-build/bin/KestoTimer}")
runs=${2:-10}
folder=$(mktemp -d)
trap 'kill $xvfb $socat 2>/dev/null; rm -rf "$folder"' EXIT

# A free display of its own (another bench may run an Xvfb beside this one).
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$folder/display" >/dev/null 2>&1 &
xvfb=$!
until [ -s "$folder/display" ]; do sleep 0.05; done
display=:$(cat "$folder/display")
socat pty,raw,echo=0,link="$folder/decoder" pty,raw,echo=0,link="$folder/COM1" &
socat=$!
cp -r "$(dirname "$program")/LmSound" "$folder/"
export DISPLAY="$display" QT_QPA_PLATFORM=xcb SDL_AUDIODRIVER=dummy
export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-/tmp/kesto-runtime}
sleep 1

waiter=${KESTO_FIRST_PAINT:-$(dirname "$program")/kesto_first_paint}

evict() {
    python3 - "$program" <<'EOF'
import os, subprocess, sys
# The program and the sound plugin it loads once its window shows, with
# every library they need.
binaries = [sys.argv[1], os.path.join(os.path.dirname(sys.argv[1]), "kesto_sdl_audio.so")]
files = []
for binary in filter(os.path.exists, binaries):
    files.append(binary)
    for line in subprocess.run(["ldd", binary], capture_output=True, text=True).stdout.splitlines():
        parts = line.split("=>")
        if len(parts) == 2 and parts[1].strip().startswith("/"):
            files.append(parts[1].split()[0])
for root, _, names in os.walk("/usr/lib/x86_64-linux-gnu/qt6/plugins"):
    files += [os.path.join(root, n) for n in names]
for f in files:
    try:
        fd = os.open(f, os.O_RDONLY)
        os.posix_fadvise(fd, 0, 0, os.POSIX_FADV_DONTNEED)
        os.close(fd)
    except OSError:
        pass
EOF
}

# One start: prints the milliseconds to the mapped and to the painted window,
# and the resident MB.
start_once() {
    "$waiter" "Kesto Timer - " "$program" --program-folder "$folder"
    rm -f "$folder"/KestoRace.*
}

start_once >/dev/null # the first run seeds the program folder
for kind in warm cold; do
    i=0
    while [ $i -lt "$runs" ]; do
        [ $kind = cold ] && evict
        echo "$kind $(start_once)"
        i=$((i + 1))
    done
done | awk '{ map[$1] = map[$1] " " $2; paint[$1] = paint[$1] " " $3; mb[$1] = mb[$1] " " $4 }
    END { for (k in map) print k ": mapped ms" map[k] " | painted ms" paint[k] " | MB" mb[k] }'
