#!/bin/sh
# The main job: builds the module, installs it into a private Wine prefix of
# its own (build/windows-x64/wineprefix-main) as the printer "Tarvik", prints
# the settings record it opens with and opens its Printing Preferences. On a
# display the sheet is yours to use, and a record you changed and confirmed
# is kept as your default for the next run; without a display it runs
# headless and saves a picture of each tab into screenshots/ (--pictures DIR
# elsewhere). --reset puts the driver's built-in record back first.
# --language en|ko (default en) runs it in that user locale: Wine takes the
# user's interface language from LC_ALL, and the resource module answers in it.
# --dpi N (default 96) sets the session's screen density; 144 runs in a Wine
# prefix of its own (see wine-env.sh).
set -e
language=en
TARVIK_DPI=96
pictures=
take=
for arg do
    shift
    case "$take" in
    --language) language=$arg ;;
    --dpi) TARVIK_DPI=$arg ;;
    --pictures) pictures=$arg ;;
    esac
    if [ -n "$take" ]; then
        take=
        continue
    fi
    case "$arg" in
    --language | --dpi | --pictures) take=$arg ;;
    --language=*) language=${arg#--language=} ;;
    --dpi=*) TARVIK_DPI=${arg#--dpi=} ;;
    --pictures=*) pictures=${arg#--pictures=} ;;
    *) set -- "$@" "$arg" ;;
    esac
done
export TARVIK_DPI
# The main job's session is its own (TARVIK_SESSION picks another name).
TARVIK_SESSION=${TARVIK_SESSION:-main}
export TARVIK_SESSION
case "$language" in
en) locale=en_US.UTF-8 ;;
ko) locale=ko_KR.UTF-8 ;;
*)
    echo "usage: $0 [--language en|ko] [--dpi N] [--pictures DIR] [--reset]" >&2
    exit 2
    ;;
esac
case "$pictures" in
"" | /*) ;;
*) pictures=$PWD/$pictures ;;
esac
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
"$root/scripts/setup.sh"
cmake --preset windows-x64 >/dev/null
cmake --build --preset windows-x64 --target tarvik-main
build="$root/build/windows-x64"
headless=
if [ -z "$DISPLAY" ]; then
    headless=1
fi
# A run that was killed may have left its session behind: the program with
# its sheet still open (holding the driver files), its wineserver, a display
# that is gone. The session is this job's own, so whatever is left of it ends
# before the next one starts.
if [ -f "$(TARVIK_BUILD_DIR=$build && . "$root/scripts/wine-env.sh" && echo "$TARVIK_SESSION_FILE")" ]; then
    echo "An earlier run did not finish: ending what is left of its session" >&2
fi
"$root/scripts/wine-session.sh" stop "$build"
"$root/scripts/wine-session.sh" start "$build"
trap '"$root/scripts/wine-session.sh" stop "$build"' EXIT
TARVIK_BUILD_DIR=$build
. "$root/scripts/wine-env.sh"
if [ -n "$headless" ]; then
    pictures=${pictures:-$root/screenshots}
    rm -rf "$pictures"
    mkdir -p "$pictures"
    LC_ALL=$locale wine "$build/bin/tarvik-main.exe" --screenshots "$(winepath -w "$pictures")" "$@"
    echo "Screenshots of Printing Preferences: $pictures"
else
    LC_ALL=$locale wine "$build/bin/tarvik-main.exe" "$@"
fi
