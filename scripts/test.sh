#!/bin/sh
# The test command: installs what is missing, builds the Windows x64 module
# and the tests, checks the sources, and runs every test under Wine
# (headless under Xvfb when there is no display).
set -e
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
"$root/scripts/setup.sh"
cmake --preset windows-x64
cmake --build --preset windows-x64
"$root/scripts/check-sources.sh"
if [ -x "$root/scripts/xml-native-tests.sh" ]; then
    "$root/scripts/xml-native-tests.sh"
fi
ctest --preset windows-x64
