#!/usr/bin/env bash
# Remakes the README's pictures in docs/: the main window after Gather Keywords and Gather Data, with the
# program's own skin and with the bundled Graphite skin, and the security image dialog. Run by hand after a
# change to the look (not by CI); it drives tools/shots/demo_shots against the stand-in under Xvfb.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$(nproc 2>/dev/null || echo 2)" --target demo_shots graphite_skin
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
shots() { xvfb-run -a -s "-screen 0 1024x768x24" build/tools/shots/demo_shots "$@" 2> >(grep -v 'window masks' >&2) >/dev/null; }
shots "$work/own"
shots "$work/graphite" build/skins/graphite/dbskin.dat
mkdir -p docs
# Each shot is the whole screen; the empty (black) rest of it is cut away.
crop() { convert "$1" -trim +repage "$2"; }
crop "$work/own/06-main-after-gather-data.png" docs/main-window.png
crop "$work/graphite/06-main-after-gather-data.png" docs/main-window-graphite.png
crop "$work/own/03-security-image-dialog.png" docs/security-image-dialog.png
echo "readme_shots: docs/main-window.png, docs/main-window-graphite.png, docs/security-image-dialog.png"
