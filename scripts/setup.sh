#!/bin/sh
# Installs what the build and the tests need on a Debian 12 machine, and only
# what is missing: MinGW-w64 (posix threads), Wine, Xvfb, CMake, Ninja, the
# GoogleTest sources, the checking tools and a font with Hangul.
set -e
missing=
need() { # need COMMAND-OR-PATH PACKAGE
    case "$1" in
    /*) [ -e "$1" ] || missing="$missing $2" ;;
    *) command -v "$1" >/dev/null 2>&1 || missing="$missing $2" ;;
    esac
}
need x86_64-w64-mingw32-g++-posix g++-mingw-w64-x86-64-posix
need x86_64-w64-mingw32-windres binutils-mingw-w64-x86-64
need wine wine
need /usr/lib/wine/wine64 wine64
need Xvfb xvfb
# The interrupted main job's test finds the sheet on its display by title.
need xwininfo x11-utils
need cmake cmake
need ninja ninja-build
need /usr/src/googletest/CMakeLists.txt googletest
need cppcheck cppcheck
need clang-format clang-format
need clang clang
# The fuzzer and sanitizer runtimes of the native XML checks (only recommended by clang).
need /usr/lib/llvm-14/lib/clang/14.0.6/lib/linux/libclang_rt.fuzzer-x86_64.a libclang-rt-14-dev
need python3 python3
need flock util-linux
# A font with Hangul: without it a Korean user locale shows every glyph of a
# dialog as a box.
need /usr/share/fonts/truetype/nanum/NanumGothic.ttf fonts-nanum
if [ -n "$missing" ]; then
    echo "Installing:$missing" >&2
    SUDO=
    if [ "$(id -u)" != 0 ]; then SUDO=sudo; fi
    export DEBIAN_FRONTEND=noninteractive
    $SUDO apt-get update -qq
    # With their recommendations: Xvfb needs the keyboard compiler and Wine
    # its fonts, which both packages only recommend.
    # shellcheck disable=SC2086
    $SUDO apt-get install -y -qq $missing >/dev/null
fi
