#!/bin/bash
# Builds the Debian package with CPack and checks it as dpkg and apt see it.
# Usage: check-package.sh BUILD_DIR APPSTREAM_ID
set -euo pipefail
build=$(realpath "$1") id=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

(cd "$build" && cpack -G DEB -B "$work/out" >"$work/cpack.txt" 2>&1) ||
    fail "cpack: $(tail -5 "$work/cpack.txt")"
deb=$(ls "$work"/out/welvane_*.deb)
[ -f "$deb" ] || fail "no package made"

info=$(dpkg-deb --info "$deb")
field() { sed -n "s/^ $1: //p" <<<"$info"; }
[ "$(field Package)" = welvane ] || fail "Package: $(field Package)"
[ "$(field Version)" = "@PROJECT_VERSION@" ] || fail "Version: $(field Version)"
[ "$(field Section)" = utils ] || fail "Section: $(field Section)"
[[ $(field Maintainer) == *@* ]] || fail "Maintainer: $(field Maintainer)"
depends=$(field Depends)
for need in libqt6widgets6 libc6 libsystemd0 libtag1v5 libsqlite3-0 libprometheus-cpp-pull1.0 xdg-utils pci.ids fonts-dejavu-core; do
    [[ $depends == *"$need"* ]] || fail "Depends lacks $need: $depends"
done

contents=$(dpkg-deb --contents "$deb" | awk '{print $6}')
for f in ./usr/bin/welvane ./usr/share/applications/$id.desktop \
         ./usr/share/metainfo/$id.metainfo.xml ./usr/share/man/man1/welvane.1.gz \
         ./usr/share/icons/hicolor/scalable/apps/$id.svg @EXTRA_PACKAGE_FILES@; do
    grep -qxF "$f" <<<"$contents" || fail "package lacks $f"
done

# Unpacked into a throwaway root, the program is where the tree says.
root=$work/root
mkdir -p "$root/var/lib/dpkg/info" "$root/var/lib/dpkg/updates"
touch "$root/var/lib/dpkg/status"
dpkg --root="$root" --force-depends --force-not-root --log=/dev/null -i "$deb" >/dev/null 2>&1 ||
    fail "dpkg -i into $root"
[ -x "$root/usr/bin/welvane" ] || fail "welvane not unpacked"
"$root/usr/bin/welvane" --version | grep -q "@PROJECT_VERSION@" || fail "unpacked --version"

# apt resolves every dependency from Debian's archive.
apt-get install --simulate -qq "$deb" >"$work/apt.txt" 2>&1 || fail "apt: $(cat "$work/apt.txt")"
grep -q '^Inst welvane\|^Conf welvane' "$work/apt.txt" ||
    grep -q 'welvane is already the newest' "$work/apt.txt" || fail "apt: $(cat "$work/apt.txt")"
echo "package OK"
