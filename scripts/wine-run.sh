#!/bin/sh
# The cross-compiling emulator of the build: runs a Windows program under
# Wine in the build's private prefix. Starts the session (display, prefix,
# persistent wineserver) when nothing has started it yet, so that a test
# executable can also be run on its own. TARVIK_DPI picks the density's
# session (wine-env.sh).
# Usage: wine-run.sh BUILD_DIR PROGRAM [ARGS...]
set -e
here=$(cd "$(dirname "$0")" && pwd)
TARVIK_BUILD_DIR=$(cd "$1" && pwd)
shift
. "$here/wine-env.sh"
if [ ! -f "$TARVIK_SESSION_FILE" ]; then
    "$here/wine-session.sh" start "$TARVIK_BUILD_DIR" >&2
    . "$TARVIK_SESSION_FILE"
    export DISPLAY
fi
exec wine "$@"
