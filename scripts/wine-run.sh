#!/bin/sh
# The cross-compiling emulator of the build: runs a Windows program under
# Wine in the build's private prefix. Starts the session (display, prefix,
# persistent wineserver) when nothing has started it yet, so that a test
# executable can also be run on its own.
# Usage: wine-run.sh BUILD_DIR PROGRAM [ARGS...]
set -e
here=$(cd "$(dirname "$0")" && pwd)
build=$1
shift
if [ ! -f "$build/wine-session.env" ]; then
    "$here/wine-session.sh" start "$build" >&2
fi
TARVIK_BUILD_DIR=$(cd "$build" && pwd)
. "$here/wine-env.sh"
exec wine "$@"
