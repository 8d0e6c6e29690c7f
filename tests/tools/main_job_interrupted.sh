#!/bin/sh
# The main job killed with its sheet open, then run again: the second run ends
# what the first left (its program holding the sheet and the driver files)
# before it installs. Runs in a session of its own (TARVIK_SESSION).
# Usage: main_job_interrupted.sh SOURCE_DIR WORK_DIR
set -e
root=$1
work=$2
export TARVIK_SESSION=main-test
rm -rf "$work"
mkdir -p "$work"
fail() { echo "FAILED: $*" >&2 && tail -n 20 "$work"/*.log >&2 && exit 1; }

# On a display (the test's own) the first run's sheet stays open for a person.
mkfifo "$work/display"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" </dev/null >"$work/xvfb.log" 2>&1 &
xvfb=$!
read -r number <"$work/display"
trap 'kill $xvfb 2>/dev/null; "$root/scripts/wine-session.sh" stop "$root/build/windows-x64"' EXIT

sheet_open() {
    xwininfo -display ":$number" -root -tree 2>/dev/null | grep -q '"Options": ("tarvik-main.exe"'
}

DISPLAY=":$number" setsid "$root/scripts/run.sh" >"$work/first.log" 2>&1 &
first=$!
polls=0 # bounded: 1500 looks, some five minutes (a first run creates its prefix)
until sheet_open; do
    [ $((polls += 1)) -lt 1500 ] || fail "the first run showed no sheet"
    sleep 0.2
done
kill -KILL $first
wait $first || true
sheet_open || fail "the program ended with its script: the interruption left nothing behind"

env -u DISPLAY "$root/scripts/run.sh" --pictures "$work/pictures" >"$work/second.log" 2>&1 ||
    fail "the second run failed"
grep -q "An earlier run did not finish" "$work/second.log" || fail "the second run found nothing left to end"
# The driver files were free when it installed: none had to be moved aside.
prefix=$(TARVIK_BUILD_DIR="$root/build/windows-x64" && . "$root/scripts/wine-env.sh" && echo "$WINEPREFIX")
for file in "$prefix"/drive_c/windows/system32/spool/drivers/x64/3/old*.tmp; do
    [ ! -e "$file" ] || fail "a driver file was still in use at the install: $file"
done
[ -n "$(find "$work/pictures" -name 'tab-1-*.png')" ] || fail "the second run saved no picture of the sheet"
