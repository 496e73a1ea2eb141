#!/usr/bin/env bash
# The install tree and the Debian package of a built tree (argument: the build folder):
#   - the menu entry and the AppStream data pass desktop-file-validate and appstreamcli validate;
#   - cpack -G DEB makes a package that installs into a clean root (dpkg --root; the real /usr is never
#     touched), whose program starts from the menu entry's command through the bin/ link and finds its
#     program folder (its dbconfig.dat caption shows on the window), and that removes cleanly;
#   - lintian finds no error and no warning in the package.
set -euo pipefail
build=$(cd "$1" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "check_package: $*" >&2; exit 1; }

DESTDIR="$work/tree" cmake --install "$build" --prefix /usr >/dev/null
desktop="$work/tree/usr/share/applications/org.dorvanel.Dorvanel.desktop"
desktop-file-validate "$desktop" || fail "desktop-file-validate rejects the menu entry"
appstreamcli validate --no-net "$work/tree/usr/share/metainfo/org.dorvanel.Dorvanel.metainfo.xml" >/dev/null ||
  fail "appstreamcli rejects the metainfo file"
[ "$(readlink "$work/tree/usr/bin/dorvanel")" = ../lib/dorvanel/dorvanel ] || fail "bin/dorvanel is not the link"
for size in 16x16 32x32 48x48 64x64 128x128 256x256; do
  [ -s "$work/tree/usr/share/icons/hicolor/$size/apps/org.dorvanel.Dorvanel.png" ] || fail "no $size icon"
done

(cd "$build" && cpack -G DEB -B "$work/deb" >/dev/null)
deb=$(ls "$work"/deb/dorvanel_*.deb)
dpkg-deb -f "$deb" Recommends | grep -qw qt6-wayland || fail "the package does not recommend qt6-wayland"
lintian --fail-on error,warning "$deb" >&2 || fail "lintian finds errors or warnings in $(basename "$deb")"

# A clean root with an empty package database; the libraries the program needs come from the running system.
root="$work/root"
mkdir -p "$root/var/lib/dpkg/info" "$root/var/lib/dpkg/updates" "$root/var/lib/dpkg/triggers"
touch "$root/var/lib/dpkg/status" "$root/var/lib/dpkg/available"
dpkg --root="$root" --force-depends --force-script-chrootless -i "$deb" >/dev/null 2>&1 || fail "dpkg -i failed"
[ -x "$root/usr/lib/dorvanel/dorvanel" ] || fail "the program is not installed"

# The menu entry's command, found on the installed bin/ folder.
command=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$root/usr/share/applications/org.dorvanel.Dorvanel.desktop")
program="$root/usr/bin/$command"
[ -x "$program" ] || fail "the menu entry's command $command is not installed"
printf '[Settings]\r\nAppName=Installed Dorvanel\r\n' > "$root/usr/lib/dorvanel/dbconfig.dat"
export program
xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
  env -u QT_QPA_PLATFORM "$program" > /dev/null 2>&1 &
  pid=$!
  for _ in $(seq 600); do
    if xwininfo -root -tree 2>/dev/null | grep -q "\"Installed Dorvanel\""; then kill $pid; exit 0; fi
    kill -0 $pid 2>/dev/null || exit 1
    sleep 0.1
  done
  kill $pid
  exit 1' || fail "the installed program did not show its window with the caption from its own folder"
rm "$root/usr/lib/dorvanel/dbconfig.dat"

dpkg --root="$root" --force-depends --force-script-chrootless -r dorvanel >/dev/null 2>&1 || fail "dpkg -r failed"
left=$( (find "$root/usr" -mindepth 1 2>/dev/null || true) | head -5)
[ -z "$left" ] || fail "removing left files behind: $left"
echo "check_package: install tree valid; $(basename "$deb") passes lintian, installs, starts and removes cleanly"
