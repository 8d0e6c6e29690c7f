#!/bin/sh
# Static checks of our own sources: clang-format (no changes wanted) and
# cppcheck (no findings).
set -e
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
sources=$(git ls-files --cached --others --exclude-standard '*.cpp' '*.h' '*.c' 2>/dev/null || find driver library xml tests tools -name '*.cpp' -o -name '*.h' -o -name '*.c')
echo "clang-format: checking $(echo "$sources" | wc -w) files" >&2
# shellcheck disable=SC2086
clang-format --dry-run -Werror $sources
echo "cppcheck: checking the sources" >&2
cppcheck --quiet --error-exitcode=1 --std=c++17 --language=c++ --platform=win64 \
    --enable=warning,style,performance,portability --inline-suppr \
    --suppress=missingIncludeSystem --suppress=unusedFunction --suppress=useStlAlgorithm \
    --suppress=*:/usr/* \
    -D_WIN32 -D_WIN64 -DUNICODE -D_UNICODE -DWINAPI= -DCALLBACK= \
    -I driver/ui -I driver/res -I library/libmerrow/include -I xml -I xml/include -I tests/host -I tools/record \
    driver library xml tools
