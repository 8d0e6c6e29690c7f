#!/bin/sh
# The main job: builds the module, installs it into the build's private Wine
# prefix as the printer "Tarvik" and shows what the module makes of it.
set -e
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
"$root/scripts/setup.sh"
cmake --preset windows-x64 >/dev/null
cmake --build --preset windows-x64
build="$root/build/windows-x64"
"$root/scripts/wine-session.sh" start "$build"
trap '"$root/scripts/wine-session.sh" stop "$build"' EXIT
TARVIK_BUILD_DIR=$build
. "$root/scripts/wine-env.sh"
wine "$build/bin/tarvik-main.exe" "$@"
