#!/bin/sh
# Refreshes the pictures the README shows: the main job headless at 96 DPI
# in English and under a Korean user interface, each page and form dialog copied into
# docs/screenshots/<language>/ under a name that does not depend on the
# language of its title. Look at every one before committing them.
set -e
root=$(cd "$(dirname "$0")/.." && pwd)
for language in en-US ko-KR; do
    env -u DISPLAY "$root/scripts/run.sh" --language "${language%%-*}" --dpi 96 >/dev/null
    target="$root/docs/screenshots/$language"
    rm -rf "$target"
    mkdir -p "$target"
    set -- paper fonts graphics document security about
    for tab in 1 2 3 4 5 6; do
        cp "$root"/screenshots/tab-$tab-*.png "$target/$1.png"
        shift
    done
    cp "$root/screenshots/option-page.png" "$target/options.png"
    cp "$root/screenshots/dialog-1-favorite-forms.png" "$target/favorite-forms.png"
    cp "$root/screenshots/dialog-2-custom-form.png" "$target/custom-form.png"
    echo "Pictures in $target"
done
