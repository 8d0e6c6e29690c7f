#!/bin/sh
# The release ZIP as whoever installs the driver receives it, unpacked and
# installed into a fresh Wine prefix from the unpacked files only.
# Usage: package_test.sh BUILD_DIR VERSION PACKAGE_SHEET_EXE
set -e
build=$1
version=$2
sheet_program=$3
root=$(cd "$(dirname "$0")/../.." && pwd)
objdump=x86_64-w64-mingw32-objdump
addr2line=x86_64-w64-mingw32-addr2line

fail() { echo "FAIL: $*" >&2; exit 1; }

cmake --build "$build" --target package >/dev/null
zip="$build/Tarvik-$version-win64.zip"
[ -f "$zip" ] || fail "the package target made no $zip"

work=$(mktemp -d "$build/package-test.XXXXXX")
cleanup() {
    if [ -d "$work/prefix" ]; then
        WINEPREFIX="$work/prefix" wineserver -k 2>/dev/null || true
        WINEPREFIX="$work/prefix" wineserver -w 2>/dev/null || true
    fi
    rm -rf "$work"
}
trap cleanup EXIT
(cd "$work" && cmake -E tar xf "$zip")
top="$work/Tarvik-$version-win64"

# Exactly the shipped files.
listing=$(cd "$top" && find . -type f | sort | tr '\n' ' ')
expected="./INSTALL.txt ./licences/GCC-runtime-libraries-and-exception.txt ./licences/GPL-3.txt \
./licences/MinGW-w64-runtime.txt ./tarvik-record.exe ./tarvikres7.dll ./tarvikres7.dll.debug ./tarvikui.dll \
./tarvikui.dll.debug "
[ "$listing" = "$expected" ] && [ "$(ls "$work")" = "Tarvik-$version-win64" ] || fail "the package holds $listing"

# Stripped DLLs whose debug files hold the names: a function of each, at the
# address its debug file gives, reads as that function through the DLL's
# .gnu_debuglink (name and checksum), and as nothing without the debug file.
mkdir "$work/alone"
for pair in tarvikui:DrvDocumentPropertySheets tarvikres7:ResourceModuleEntry; do
    dll=${pair%%:*}
    function=${pair#*:}
    $objdump -h "$top/$dll.dll" | grep -q '\.gnu_debuglink' || fail "$dll.dll names no debug file"
    ! $objdump -h "$top/$dll.dll" | grep -q '\.debug_' || fail "$dll.dll still carries debug sections"
    address=0x$(x86_64-w64-mingw32-nm "$top/$dll.dll.debug" | awk -v f="$function" '$3 == f { print $1 }')
    found=$($addr2line -f -e "$top/$dll.dll" "$address" | head -n 1)
    [ "$found" = "$function" ] || fail "$address of $dll.dll reads as $found, not $function"
    cp "$top/$dll.dll" "$work/alone/"
    found=$($addr2line -f -e "$work/alone/$dll.dll" "$address" | head -n 1)
    [ "$found" = "??" ] || fail "without its debug file $dll.dll still reads $found"
done

# One version everywhere: the package name (above), the installation text and
# the version resource of every module.
head -n 1 "$top/INSTALL.txt" | grep -q "^Tarvik $version " || fail "INSTALL.txt does not name version $version"
for file in tarvikui.dll tarvikres7.dll tarvik-record.exe; do
    python3 -c 'import sys; sys.exit(0 if ("FileVersion\0\0" + sys.argv[2]).encode("utf-16-le") in open(sys.argv[1], "rb").read() else 1)' \
        "$top/$file" "$version" || fail "$file does not carry FileVersion $version"
done

# A fresh prefix of its own, on the session's display; the program that
# installs runs from the unpacked folder and takes the DLLs beside it.
TARVIK_BUILD_DIR=$build
. "$root/scripts/wine-env.sh"
export WINEPREFIX="$work/prefix"
wineboot -i </dev/null >/dev/null 2>&1 || true
cp "$sheet_program" "$top/"
wine "$top/$(basename "$sheet_program")" >"$work/sheet.txt" 2>&1 || fail "the sheet did not open: $(cat "$work/sheet.txt")"
tabs=$(grep -c '^tab: ' "$work/sheet.txt" || true)
[ "$tabs" -eq 6 ] || fail "the sheet showed $tabs tabs: $(cat "$work/sheet.txt")"
grep -q '^module: .*spool.drivers.x64.3.tarvikui.dll' "$work/sheet.txt" ||
    fail "the sheet did not come from the installed driver: $(cat "$work/sheet.txt")"
wine "$top/tarvik-record.exe" --printer Tarvik >"$work/record.txt" 2>&1 ||
    fail "tarvik-record could not read the printer: $(cat "$work/record.txt")"
grep -q '^dmDriverExtra  *70  *2  *yes  *6092' "$work/record.txt" || fail "tarvik-record read: $(cat "$work/record.txt")"
echo "package $zip: $(echo "$listing" | wc -w) files, installed in a fresh prefix, the sheet showed $tabs tabs"
