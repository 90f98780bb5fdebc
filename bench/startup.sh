#!/bin/sh
# Start-up of the real program under Xvfb: from the start of the process to
# its main window mapped on the X server ("Kesto Timer - ..." in the title), warm
# (the files in the page cache) and cold (the program's libraries and Qt's
# plugins evicted from the page cache first, with posix_fadvise), and the
# resident memory two seconds after start (idle, window shown).
#   bench/startup.sh build/bin/KestoTimer [runs]
# Port 1 is a socat pseudo-terminal and the program folder gets the sound
# folder from beside the program, so no message box comes first (a message
# box's title is "Kesto Timer" too).
set -eu
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

now_ms() { date +%s%N | cut -c1-13; }

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

# One start: prints the milliseconds to the mapped window and the resident MB.
start_once() {
    begin=$(now_ms)
    "$program" --program-folder "$folder" >/dev/null 2>&1 &
    pid=$!
    until xwininfo -root -tree 2>/dev/null | grep -q '"Kesto Timer - '; do sleep 0.002; done
    shown=$(now_ms)
    sleep 2
    rss=$(awk '/VmRSS/ {printf "%.1f", $2 / 1024}' /proc/$pid/status)
    kill -9 $pid
    wait $pid 2>/dev/null || true
    rm -f "$folder"/KestoRace.*
    echo "$((shown - begin)) $rss"
}

start_once >/dev/null # the first run seeds the program folder
for kind in warm cold; do
    i=0
    while [ $i -lt "$runs" ]; do
        [ $kind = cold ] && evict
        echo "$kind $(start_once)"
        i=$((i + 1))
    done
done | awk '{ ms[$1] = ms[$1] " " $2; mb[$1] = mb[$1] " " $3 }
    END { for (k in ms) print k ": ms" ms[k] " | MB" mb[k] }'
