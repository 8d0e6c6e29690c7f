#!/bin/sh
# Starts or stops the Wine session of a build: a headless X display when
# DISPLAY is unset, the private prefix inside the build folder (created once),
# and one persistent wineserver so that each program starts warm.
# Usage: [TARVIK_DPI=144] wine-session.sh start|stop BUILD_DIR
# A density other than 96 gets a session and a prefix of its own beside the
# first (wine-env.sh), its LogPixels written when the prefix is created.
set -e
here=$(cd "$(dirname "$0")" && pwd)
action=$1
build=$(mkdir -p "$2" && cd "$2" && pwd)
TARVIK_BUILD_DIR=$build
. "$here/wine-env.sh"
session=$TARVIK_SESSION_FILE
tag=wine-session$TARVIK_SESSION_SUFFIX

stop_session() {
    if [ -f "$session" ]; then
        wineserver -k 2>/dev/null || true
        wineserver -w 2>/dev/null || true
        if [ -n "$XVFB_PID" ]; then
            kill "$XVFB_PID" 2>/dev/null || true
        fi
        rm -f "$session"
    fi
}

start_xvfb() {
    # Xvfb picks a free display number and writes it to the pipe.
    fifo="$build/xvfb-display$TARVIK_SESSION_SUFFIX"
    rm -f "$fifo"
    mkfifo "$fifo"
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$fifo" </dev/null >"$build/xvfb$TARVIK_SESSION_SUFFIX.log" 2>&1 9>&- &
    XVFB_PID=$!
    read -r number <"$fifo"
    rm -f "$fifo"
    DISPLAY=":$number"
}

case "$action" in
start)
    # Serialise concurrent starts (ctest fixture and a test run by hand).
    exec 9>"$build/$tag.lock"
    flock 9
    if [ -f "$session" ]; then
        exit 0
    fi
    XVFB_PID=
    if [ -z "$DISPLAY" ]; then
        start_xvfb
    fi
    printf 'DISPLAY=%s\nXVFB_PID=%s\n' "$DISPLAY" "$XVFB_PID" >"$session.tmp"
    mv "$session.tmp" "$session"
    export DISPLAY
    # A wineserver of this prefix that runs with another display would make
    # every window fail: stop it first.
    wineserver -k 2>/dev/null || true
    wineserver -w 2>/dev/null || true
    if [ ! -f "$WINEPREFIX/.tarvik-ready" ]; then
        echo "Creating the Wine prefix $WINEPREFIX" >&2
        wineboot -i </dev/null >/dev/null 2>&1 9>&- || true
        wineserver -w 9>&-
        # Wine's own dialog fonts (Tahoma, MS Sans Serif) so that dialogs
        # look as on Windows; a font change needs a fresh wineserver.
        if [ -d /usr/share/wine/fonts ]; then
            cp -f /usr/share/wine/fonts/*.tt? "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
        fi
        # The screen density, read when the next wineserver starts.
        wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$TARVIK_DPI" /f \
            </dev/null >/dev/null 2>&1 9>&- || true
        wineserver -w 9>&-
        touch "$WINEPREFIX/.tarvik-ready"
    fi
    # Started with no inherited descriptors: a server that held the caller's
    # output pipe or the lock would keep ctest (or the next start) waiting.
    wineserver -p </dev/null >/dev/null 2>&1 9>&-
    # Without a window manager (Xvfb runs none) Wine waits up to two seconds
    # for one whenever a managed window is hidden: leave windows unmanaged.
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f </dev/null >/dev/null 2>&1 9>&- || true
    echo "Wine session ready (DISPLAY=$DISPLAY, WINEPREFIX=$WINEPREFIX)" >&2
    ;;
stop)
    stop_session
    ;;
*)
    echo "usage: $0 start|stop BUILD_DIR" >&2
    exit 2
    ;;
esac
