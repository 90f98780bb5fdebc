#!/usr/bin/env bash
# Fails when an #include runs against the floor plan (see README, Developing):
#   app/         the program assembled: may include anything
#   <area>/qt/   an area's windows and platform links: the floors below, the
#                areas' Qt-free cores, its own qt/ folder; never another area's
#   <area>/      an area's Qt-free core (config sound reports display
#                peripheral meeting web): base/, engine/ and its own folder
#   engine/      the race rules: base/ and engine/
#   base/        car IDs, records, file and text helpers, the seams: base/ only
# resize/ is a library of its own; tests/, bench/ and tools/ may include anything
# of the program, tools/decoder-sim only itself.
# Usage: tools/check-floors.sh [source root]; prints every wrong include.
set -euo pipefail
root="${1:-$(cd "$(dirname "$0")/.." && pwd)}"
cd "$root"

cores="config|sound|reports|display|peripheral|meeting|web"
core_header="(base|engine|${cores})/[^/]+"

# The includes a source file of this folder may make, as one extended regex.
allowed_for() {
    local folder=$1
    case "$folder" in
    app | app/* | tests | tests/* | bench | bench/*) echo '.*' ;;
    tools/decoder-sim*) echo 'tools/decoder-sim/[^/]+' ;;
    base) echo 'base/[^/]+' ;;
    base/qt) echo 'base/[^/]+|base/qt/[^/]+' ;;
    engine) echo '(base|engine)/[^/]+' ;;
    resize) echo 'resize/[^/]+' ;;
    resize/qt) echo 'resize/[^/]+|resize/qt/[^/]+' ;;
    peripheral/browser) echo 'peripheral/browser/[^/]+|peripheral/browser_history\.h|peripheral/qt/browser_plugin_interface\.h' ;;
    */qt)
        local area=${folder%/qt}
        echo "${core_header}|base/qt/[^/]+|${area}/qt/[^/]+|resize/[^/]+|resize/qt/[^/]+"
        ;;
    *)
        if [[ "$folder" =~ ^(${cores})$ ]]; then
            echo "(base|engine|${folder})/[^/]+"
        else
            echo "unplanned folder"
        fi
        ;;
    esac
}

declare -A allowed_cache
status=0
while IFS= read -r hit; do
    file=${hit%%:*}
    include=${hit#*\"}
    include=${include%%\"*}
    folder=${file%/*}
    [ "$folder" = "$file" ] && folder=.
    if [ -z "${allowed_cache[$folder]+set}" ]; then
        allowed_cache[$folder]=$(allowed_for "$folder")
    fi
    allowed=${allowed_cache[$folder]}
    if [ "$allowed" = "unplanned folder" ]; then
        echo "$file: its folder is not on the floor plan (add it to tools/check-floors.sh)"
        status=1
    elif ! [[ "$include" =~ ^(${allowed})$ ]]; then
        echo "$file: includes \"$include\", against the floor plan"
        status=1
    fi
done < <(git ls-files --cached --others --exclude-standard -- '*.cpp' '*.h' |
    grep -v -E '^(tests|bench)/' |
    xargs grep -H -E '^[[:space:]]*#[[:space:]]*include[[:space:]]*"[^"]*/' || true)

# Sources are listed in their floor's CMakeLists.txt (the folder's own or its
# parent's), never globbed: a file left out would silently not be built.
while IFS= read -r source; do
    folder=${source%/*}
    name=${source##*/}
    if [ -f "$folder/CMakeLists.txt" ] && grep -q -E "(^|[[:space:]/])${name//./\\.}([[:space:])]|$)" "$folder/CMakeLists.txt"; then
        continue
    fi
    parent=${folder%/*}
    sub=${folder##*/}
    if [ "$parent" != "$folder" ] && [ -f "$parent/CMakeLists.txt" ] &&
        grep -q -E "(^|[[:space:]])${sub}/${name//./\\.}([[:space:])]|$)" "$parent/CMakeLists.txt"; then
        continue
    fi
    echo "$source: not listed in its floor's CMakeLists.txt"
    status=1
done < <(git ls-files --cached --others --exclude-standard -- '*.cpp' |
    grep -v -E '^(tests|bench|tools)/' || true)

if [ "$status" -eq 0 ]; then
    echo "check-floors: every include keeps to the floor plan, every source is listed"
fi
exit "$status"
