#!/bin/sh
# The long robustness runs and their figures (docs/reliability.md): 100,000
# hostile settings records against the built module, the update check
# against a hostile server with a 10-second silence, eight threads of 5,000
# capability calls each while forms change, and the hardening of the built
# DLLs. The test command (scripts/test.sh) runs the same programs briefly.
# Usage: scripts/reliability.sh [record inputs [seed]]
set -e
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
"$root/scripts/setup.sh"
cmake --preset windows-x64 >/dev/null
cmake --build --preset windows-x64
build="$root/build/windows-x64"
bin="$build/bin"
state="$build/tests/http-server-long"

# The session and the server are this script's own unless a test run
# already holds the session.
own_session=
[ -f "$build/wine-session.env" ] || own_session=1
python3 "$root/tests/host/http_test_server.py" start "$state"
finish() {
    python3 "$root/tests/host/http_test_server.py" stop "$state"
    if [ -n "$own_session" ]; then
        "$root/scripts/wine-session.sh" stop "$build"
    fi
}
trap finish EXIT

failed=0
step() {
    title=$1
    shift
    echo
    echo "== $title"
    began=$(date +%s)
    if "$@"; then result=passed; else result=FAILED; failed=1; fi
    echo "== $title: $result in $(($(date +%s) - began)) s"
}

step "Hostile records" "$root/scripts/wine-run.sh" "$build" "$bin/record_fuzz.exe" "${1:-100000}" "${2:-1}"
step "Hostile server" env TARVIK_HTTP_STATE="$state" TARVIK_STALL_SECONDS=10 \
    "$root/scripts/wine-run.sh" "$build" "$bin/test_robust_network.exe" --gtest_color=no
step "Capability load" env TARVIK_LOAD_CALLS=5000 \
    "$root/scripts/wine-run.sh" "$build" "$bin/test_robust_load.exe" --gtest_color=no
step "Hostile registry" "$root/scripts/wine-run.sh" "$build" "$bin/test_robust_registry.exe" --gtest_color=no
step "Build hardening" python3 "$root/tests/robust/check_pe_hardening.py" "$bin/tarvikui.dll" "$bin/tarvikres7.dll"
exit $failed
