#!/bin/sh
# Native checks of the XML parser, run by scripts/test.sh: builds the xml
# folder on its own with clang into build/xml-native (sanitizers on), then
# runs the seed corpus and every saved regression input through the same
# checks the fuzzer makes. Any crash, leak, out-of-bounds access, undefined
# behaviour or failed check ends it with a non-zero status.
set -e
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
build="$root/build/xml-native"
if [ ! -f "$build/build.ninja" ]; then
    cmake -S xml -B "$build" -G Ninja -DCMAKE_CXX_COMPILER=clang++ >/dev/null || {
        echo "xml-native-tests: configuring $build failed" >&2
        exit 1
    }
fi
cmake --build "$build" --target xml_fuzzer -- -j2
# -runs=0: every input of the folders once, no fuzzing.
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    "$build/xml_fuzzer" -runs=0 xml/fuzz/corpus xml/fuzz/regressions
