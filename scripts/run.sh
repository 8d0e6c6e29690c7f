#!/bin/sh
# The main job: builds the module, installs it into the build's private Wine
# prefix as the printer "Tarvik", prints the settings record the module gives
# for it and opens its Printing Preferences. On a display the sheet is yours
# to use; without one it runs headless and saves a picture of each tab.
# --language en|ko (default en) runs it in that user locale: Wine takes the
# user's interface language from LC_ALL, and the resource module answers in it.
# --dpi N (default 96) sets the session's screen density; 144 runs in a Wine
# prefix of its own (see wine-env.sh).
set -e
language=en
TARVIK_DPI=96
take=
for arg do
    shift
    case "$take" in
    --language) language=$arg ;;
    --dpi) TARVIK_DPI=$arg ;;
    esac
    if [ -n "$take" ]; then
        take=
        continue
    fi
    case "$arg" in
    --language | --dpi) take=$arg ;;
    --language=*) language=${arg#--language=} ;;
    --dpi=*) TARVIK_DPI=${arg#--dpi=} ;;
    *) set -- "$@" "$arg" ;;
    esac
done
export TARVIK_DPI
case "$language" in
en) locale=en_US.UTF-8 ;;
ko) locale=ko_KR.UTF-8 ;;
*)
    echo "usage: $0 [--language en|ko] [--dpi N] [options of tarvik-main]" >&2
    exit 2
    ;;
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
"$root/scripts/wine-session.sh" start "$build"
trap '"$root/scripts/wine-session.sh" stop "$build"' EXIT
TARVIK_BUILD_DIR=$build
. "$root/scripts/wine-env.sh"
if [ -n "$headless" ]; then
    pictures="$root/screenshots"
    rm -rf "$pictures"
    mkdir -p "$pictures"
    LC_ALL=$locale wine "$build/bin/tarvik-main.exe" --screenshots "$(winepath -w "$pictures")" "$@"
    echo "Screenshots of Printing Preferences: $pictures"
else
    LC_ALL=$locale wine "$build/bin/tarvik-main.exe" "$@"
fi
