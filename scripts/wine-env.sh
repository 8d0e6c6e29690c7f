# Sourced by the scripts that run Windows programs: selects the build's
# private Wine prefix and, when the session started one, its headless display.
# Usage: TARVIK_BUILD_DIR=/abs/build/dir; . wine-env.sh
# (a sourced script gets no arguments of its own in every shell)
export WINEPREFIX="$TARVIK_BUILD_DIR/wineprefix"
export WINEARCH=win64
export WINEDEBUG="${WINEDEBUG:--all}"
# No Mono or Gecko installer prompts in a fresh prefix.
export WINEDLLOVERRIDES="mscoree,mshtml="
# Wine honours a proxy even for 127.0.0.1; the tests talk to local servers.
unset http_proxy HTTP_PROXY https_proxy HTTPS_PROXY no_proxy NO_PROXY
TARVIK_SESSION_FILE="$TARVIK_BUILD_DIR/wine-session.env"
if [ -f "$TARVIK_SESSION_FILE" ]; then
    # shellcheck disable=SC1090
    . "$TARVIK_SESSION_FILE"
    export DISPLAY
fi
