#!/bin/sh
# The main job: builds the module, installs it into the build's private Wine
# prefix as the printer "Tarvik", prints the settings record the module gives
# for it and opens its Printing Preferences. On a display the sheet is yours
# to use; without one it runs headless and saves a picture of each tab.
# --language en|ko (default en) runs it in that user locale: Wine takes the
# user's interface language from LC_ALL, and the resource module answers in it.
set -e
language=en
take_language=
for arg do
    shift
    if [ -n "$take_language" ]; then
        language=$arg
        take_language=
        continue
    fi
    case "$arg" in
    --language) take_language=1 ;;
    --language=*) language=${arg#--language=} ;;
    *) set -- "$@" "$arg" ;;
    esac
done
case "$language" in
en) locale=en_US.UTF-8 ;;
ko) locale=ko_KR.UTF-8 ;;
*)
    echo "usage: $0 [--language en|ko] [options of tarvik-main]" >&2
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
