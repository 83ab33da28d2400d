#!/usr/bin/env bash
# Installs the built project into a scratch prefix and packs it as a Debian
# package, then checks what lands where: programs, manual pages, desktop
# entry, icon sizes, AppStream metadata, copyright file and changelog, the
# package's file list and dependencies, and that lintian finds no error and
# no warning in it.
#   usage: check_package.sh <build directory>
set -euo pipefail
build=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
expect_file() { [ -f "$1" ] || fail "missing $1"; }

id=org.vexilon.Console
prefix=$work/usr
cmake --install "$build" --prefix "$prefix" >/dev/null

expect_file "$prefix/bin/vexilon-console"
[ -x "$prefix/bin/vexilon-console" ] || fail "vexilon-console is not executable"
expect_file "$prefix/share/applications/$id.desktop"
expect_file "$prefix/share/metainfo/$id.metainfo.xml"
expect_file "$prefix/share/icons/hicolor/scalable/apps/$id.svg"
expect_file "$prefix/share/doc/vexilon-console/copyright"
expect_file "$prefix/share/doc/vexilon-console/changelog.gz"
for page in vexilon-console vexilon-sim; do
  expect_file "$prefix/share/man/man1/$page.1.gz"
  # Every option of the simulated machine's help has its entry in the page.
  man_warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$prefix/share/man/man1/$page.1.gz" 2>&1 >/dev/null)
  [ -z "$man_warnings" ] || fail "$page.1: $man_warnings"
done
sim_page=$(LC_ALL=C MANWIDTH=200 man -l "$prefix/share/man/man1/vexilon-sim.1.gz" 2>/dev/null)
for option in $("$build/bin/vexilon-sim" --help | grep -o -- '--[a-z-]*' | sort -u); do
  grep -q -- "$option" <<<"$sim_page" || fail "vexilon-sim.1 lacks $option"
done
desktop-file-validate "$prefix/share/applications/$id.desktop" || fail "desktop entry"
appstreamcli validate --no-net "$prefix/share/metainfo/$id.metainfo.xml" >/dev/null ||
  fail "AppStream metadata"
for size in 16 24 32 48 64 128 256; do
  png=$prefix/share/icons/hicolor/${size}x${size}/apps/$id.png
  expect_file "$png"
  # PNG width and height: big-endian words at bytes 16 and 20.
  read -r w h < <(od -An -tu1 -j16 -N8 "$png" |
    awk '{print $1*16777216+$2*65536+$3*256+$4, $5*16777216+$6*65536+$7*256+$8}')
  [ "$w x $h" = "$size x $size" ] || fail "$png is $w x $h"
done
# Nothing of the tests or benchmarks is installed.
extra=$(find "$prefix/bin" -type f ! -name vexilon-console ! -name vexilon-sim)
[ -z "$extra" ] || fail "unexpected programs: $extra"

# The installed console starts: its libraries resolve and it keeps running
# (here it waits at the message box that says no machine was found). Its
# directory is not writable, so the preview file's place is the cache. Root
# may write anywhere, so as root it runs as an ordinary user.
home=$work/home
mkdir -p "$home"
chmod 755 "$work"
chmod 777 "$home"
as_user=()
if [ "$(id -u)" -eq 0 ]; then
  as_user=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
fi
status=0
HOME=$home XDG_CONFIG_HOME= XDG_CACHE_HOME= XDG_RUNTIME_DIR= QT_QPA_PLATFORM=offscreen \
  timeout 5 "${as_user[@]}" "$prefix/bin/vexilon-console" >/dev/null 2>&1 || status=$?
[ "$status" -eq 124 ] || fail "installed console ended with status $status instead of running"
[ -d "$home/.cache/Vexilon" ] || fail "no cache directory for the preview file"

# The Debian package.
(cd "$work" && cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/deb" >/dev/null)
deb=$(ls "$work"/deb/*.deb)
files=$(dpkg-deb -c "$deb" | awk '{print $6}')
for f in ./usr/bin/vexilon-console ./usr/share/applications/$id.desktop \
  ./usr/share/metainfo/$id.metainfo.xml ./usr/share/icons/hicolor/scalable/apps/$id.svg \
  ./usr/share/icons/hicolor/48x48/apps/$id.png; do
  grep -qx "$f" <<<"$files" || fail "package lacks $f"
done
depends=$(dpkg-deb -f "$deb" Depends)
for d in libqt6widgets6 libjpeg62-turbo libpng16-16 libtiff6 fonts-crosextra-carlito \
  fonts-wqy-microhei qt6-qpa-plugins; do
  grep -q "$d" <<<"$depends" || fail "package does not depend on $d (Depends: $depends)"
done
[ "$(dpkg-deb -f "$deb" Package)" = vexilon-console ] || fail "package name"

# Debian's own checks: errors and warnings fail; informational tags are
# named in the README.
findings=$(lintian --no-tag-display-limit "$deb" 2>&1 | grep -E '^[EW]: ' || true)
[ -z "$findings" ] || fail "lintian: $findings"

if [ "$failures" -ne 0 ]; then
  echo "$failures failed"
  exit 1
fi
echo "install tree and package: all checks passed"
