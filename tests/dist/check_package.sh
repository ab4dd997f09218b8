#!/bin/bash
# The Debian package: built with cpack from this build tree, its contents listed with dpkg-deb,
# its desktop entry and AppStream data validated, and the program run unpacked from it.
# usage: check_package.sh BUILD_DIR
set -u
build=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; echo "0 passed, 1 failed"; exit 1; }

for tool in cpack dpkg-deb dpkg-shlibdeps desktop-file-validate appstreamcli; do
    command -v $tool >/dev/null || fail "$tool is not installed"
done
cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/out" >"$work/cpack.log" 2>&1 || { cat "$work/cpack.log"; fail "cpack"; }
deb=$(ls "$work"/out/kestrin_*_amd64.deb 2>/dev/null | head -1)
[ -n "$deb" ] || fail "no package"
echo "package: $(basename "$deb"), $(stat -c %s "$deb") bytes"
dpkg-deb -f "$deb" Depends | grep -q libqt6multimedia6 || fail "dependencies not computed: $(dpkg-deb -f "$deb" Depends)"

expected="./usr/bin/kestrin
./usr/lib/kestrin/kestrin-sync
./usr/lib/kestrin/kestrin_sound.so
./usr/share/applications/kestrin.desktop
./usr/share/kestrin/sounds/clock1.wav
./usr/share/kestrin/sounds/Moveme.wav
./usr/share/kestrin/sounds/ClickMe.wav
./usr/share/man/man1/kestrin.1.gz
./usr/share/metainfo/example.quorrel.Kestrin.metainfo.xml
./usr/share/icons/hicolor/scalable/apps/kestrin.svg"
for size in 16 22 24 32 48 64 128 256; do expected+=$'\n'"./usr/share/icons/hicolor/${size}x${size}/apps/kestrin.png"; done
dpkg-deb -c "$deb" | awk '{print $6}' | grep -v '/$' | sort >"$work/files"
diff <(sort <<<"$expected") "$work/files" || fail "the package holds other files than expected"

dpkg-deb -x "$deb" "$work/root"
desktop-file-validate "$work/root/usr/share/applications/kestrin.desktop" | grep -v '^.*: hint: ' && fail "desktop entry"
appstreamcli validate --no-net "$work/root/usr/share/metainfo/example.quorrel.Kestrin.metainfo.xml" >"$work/as.log" 2>&1 || { cat "$work/as.log"; fail "AppStream data"; }
# The program opens its sound module by a path relative to its own directory.
strings -el "$work/root/usr/bin/kestrin" | grep -q '^\.\./lib/kestrin/kestrin_sound.so$' && [ -f "$work/root/usr/bin/../lib/kestrin/kestrin_sound.so" ] ||
    fail "the program would not find its sound module"
ldd "$work/root/usr/bin/kestrin" | grep -q -e libQt6Multimedia -e libQt6Network -e libical &&
    fail "the program itself loads Qt Multimedia, Qt Network or libical"
zcat "$work/root/usr/share/man/man1/kestrin.1.gz" | grep -q '^\.TH KESTRIN 1' || fail "manual page"

# One version everywhere: the package's, the window's and the help panel's, --help's, the
# AppStream file's newest release and the manual page's.
version=$(dpkg-deb -f "$deb" Version)
grep -qa "版本号：V$version\b" "$work/root/usr/bin/kestrin" || fail "the window's version is not $version"
python3 -c 'import sys; sys.exit(("版本号：V" + sys.argv[2]).encode("utf-16-le") not in open(sys.argv[1], "rb").read())' \
    "$work/root/usr/bin/kestrin" "$version" || fail "the help panel's version is not $version"
"$work/root/usr/bin/kestrin" --help | grep -qx "版本：$version" || fail "--help's version is not $version"
grep -o '<release version="[^"]*"' "$work/root/usr/share/metainfo/example.quorrel.Kestrin.metainfo.xml" | head -1 |
    grep -q "\"$version\"" || fail "the AppStream file's newest release is not $version"
zcat "$work/root/usr/share/man/man1/kestrin.1.gz" | head -1 | grep -q "\"Kestrin $version\"" ||
    fail "the manual page's version is not $version"

# Unpacked, it is an installed program: its data go to the user's folder, with the sounds.
export HOME="$work/home" XDG_DATA_HOME="$work/home/data"
unset DISPLAY WAYLAND_DISPLAY
"$work/root/usr/bin/kestrin" --help >"$work/help" || fail "--help"
grep -q "数据目录：$XDG_DATA_HOME/kestrin" "$work/help" || fail "--help does not name the data folder"
"$work/root/usr/bin/kestrin" --add "装好了" --finish 2030-01-01 || fail "--add"
out=$("$work/root/usr/bin/kestrin" --list) || fail "--list"
[ "$out" = "$(printf '2030-01-01\t%s 天\t装好了' "$(( ($(date -d 2030-01-01 +%s) - $(date -d "$(date +%F)" +%s)) / 86400 ))")" ] || fail "--list printed: $out"
[ "$(stat -c %a "$XDG_DATA_HOME/kestrin")" = 700 ] || fail "the data folder is readable by others"
# --caldav and --sync reach the helper beside the module.
out=$("$work/root/usr/bin/kestrin" --caldav) || fail "--caldav"
[[ "$out" == *"没有连接任务列表"* ]] || fail "--caldav printed: $out"
for s in clock1 Moveme ClickMe; do cmp -s "$XDG_DATA_HOME/kestrin/$s.wav" "$work/root/usr/share/kestrin/sounds/$s.wav" || fail "$s.wav not copied"; done
echo "1 passed, 0 failed"
