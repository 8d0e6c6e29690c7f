# Sourced by the scripts that run Windows programs: selects the build's
# private Wine prefix and, when the session started one, its headless display.
# Usage: TARVIK_BUILD_DIR=/abs/build/dir; . wine-env.sh
# (a sourced script gets no arguments of its own in every shell)
# TARVIK_DPI (96 when unset) picks the screen density. Wine reads it from the
# registry only when its server starts, so each density has a prefix and a
# session of its own ("wineprefix-144"), and both can run side by side.
# TARVIK_SESSION names a session of its own with its own prefix
# ("wineprefix-main" for the main job), so that ending it ends nobody else's.
TARVIK_DPI=${TARVIK_DPI:-96}
TARVIK_SESSION_SUFFIX=
if [ -n "$TARVIK_SESSION" ]; then
    TARVIK_SESSION_SUFFIX="-$TARVIK_SESSION"
fi
if [ "$TARVIK_DPI" != 96 ]; then
    TARVIK_SESSION_SUFFIX="$TARVIK_SESSION_SUFFIX-$TARVIK_DPI"
fi
export WINEPREFIX="$TARVIK_BUILD_DIR/wineprefix$TARVIK_SESSION_SUFFIX"
export WINEARCH=win64
export WINEDEBUG="${WINEDEBUG:--all}"
# No Mono or Gecko installer prompts in a fresh prefix.
export WINEDLLOVERRIDES="mscoree,mshtml="
# Wine honours a proxy even for 127.0.0.1; the tests talk to local servers.
unset http_proxy HTTP_PROXY https_proxy HTTPS_PROXY no_proxy NO_PROXY
TARVIK_SESSION_FILE="$TARVIK_BUILD_DIR/wine-session$TARVIK_SESSION_SUFFIX.env"
if [ -f "$TARVIK_SESSION_FILE" ]; then
    # shellcheck disable=SC1090
    . "$TARVIK_SESSION_FILE"
    export DISPLAY
fi
