#!/usr/bin/env bash
# Makes every wave file the timer plays: spoken announcements with espeak-ng,
# tones with sox. 22050 Hz, 16-bit, stereo, trimmed of silence. The result is
# committed in assets/LmSound, so run this only to remake the sounds.
# Needs the Debian packages espeak-ng and sox.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
out="${1:-$root/assets/LmSound}"
mkdir -p "$out"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

# Mono or any rate in, the timer's format out; -D: no dither, the same bytes
# on every run.
finish() { # finish <in.wav> <name.wav> [sox effects...]
    local in="$1" name="$2"
    shift 2
    sox -D "$in" -r 22050 -b 16 -c 2 "$out/$name" "$@"
}

speak() { # speak <name.wav> <words>
    espeak-ng -v en-us -s 185 -a 130 -w "$work/speech.wav" "$2"
    # Trim silence at both ends.
    finish "$work/speech.wav" "$1" silence 1 0.02 0.5% reverse silence 1 0.02 0.5% reverse
}

tone() { # tone <name.wav> <sox synth arguments...>
    local name="$1"
    shift
    sox -D -n -r 22050 -b 16 -c 1 "$work/tone.wav" synth "$@"
    finish "$work/tone.wav" "$name"
}

# Race events.
speak "Race Starts in 20 sec.wav" "Race starts in twenty seconds"
speak "Race Starts in 5 sec.wav" "Race starts in five seconds"
speak "Get Ready.wav" "Get ready"
speak "Go.wav" "Go!"
speak "Yellow Flag.wav" "Yellow flag"
speak "White Flag.wav" "White flag"
speak "1 Minute Left.wav" "One minute left"
speak "5 Minutes Left.wav" "Five minutes left"
speak "halfway thru the race.wav" "Halfway through the race"
speak "10 Seconds Left.wav" "Ten seconds left"
speak "Race Over.wav" "Race over"
speak "Checkered Flag.wav" "Checkered flag"
# The decoder link's warning: the decoder went quiet or its cable came out.
speak "Decoder Lost.wav" "Warning! Decoder lost. Check the decoder."

# Start lights and laps.
tone "beep.wav" 0.15 sine 880 fade 0.005 0.15 0.02 vol 0.6
tone "everylap.wav" 0.06 sine 1500 fade 0.002 0.06 0.03 vol 0.5

# Car sounds to choose from in the sound window.
speak "Bestlap.wav" "Best lap"
speak "Fastest.wav" "Fastest lap"
speak "Lap.wav" "Lap"
# A rising four-note fanfare.
notes=()
for pitch in 523 659 784 1047; do
    sox -D -n -r 22050 -b 16 -c 1 "$work/note$pitch.wav" synth 0.11 sine "$pitch" fade 0.005 0.11 0.02
    notes+=("$work/note$pitch.wav")
done
sox -D "${notes[@]}" "$work/cheer.wav" vol 0.5
finish "$work/cheer.wav" "Cheer.wav"

du -sh "$out"
