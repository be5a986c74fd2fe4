#!/bin/bash
# Installs the build into a temporary DESTDIR and checks the tree a user's
# system gets: every file at its standard path, the program running from
# there, the manual page in step with --help, the validators content.
# Usage: check-install.sh BUILD_DIR APPSTREAM_ID
set -euo pipefail
build=$1 id=$2
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

DESTDIR=$root cmake --install "$build" --prefix /usr >/dev/null
usr=$root/usr

for f in bin/welvane \
         share/applications/$id.desktop \
         share/metainfo/$id.metainfo.xml \
         share/icons/hicolor/scalable/apps/$id.svg \
         share/man/man1/welvane.1.gz \
         share/bash-completion/completions/welvane \
         @EXTRA_FILES@; do
    [ -s "$usr/$f" ] || fail "missing $f"
done
for size in 16 22 24 32 48 64 128 256; do
    png=$usr/share/icons/hicolor/${size}x${size}/apps/$id.png
    [ -s "$png" ] || fail "missing ${size}px icon"
    # The PNG header holds the width and height at bytes 16..23.
    dims=$(od -An -tu1 -j16 -N8 "$png" | awk '{print $3*256+$4 "x" $7*256+$8}')
    [ "$dims" = "${size}x${size}" ] || fail "${size}px icon is $dims"
done
# Nothing lands in a multiarch or lib64 folder by accident.
if find "$usr" -path '*-linux-gnu*' -o -path '*/lib64/*' | grep -q .; then
    fail "files under a multiarch folder: $(find "$usr" -path '*-linux-gnu*' | head -3)"
fi

# The installed program runs from the tree.
version=$("$usr/bin/welvane" --version)
[[ $version == *@PROJECT_VERSION@* ]] || fail "--version says '$version'"
dump=$(QT_QPA_PLATFORM=offscreen "$usr/bin/welvane" --dump overview -platform offscreen)
[[ $dump == "# "* && $dump == *"== "* ]] || fail "--dump overview printed '${dump:0:200}'"

# The manual renders without warnings and names every option of --help.
warnings=$(zcat "$usr/share/man/man1/welvane.1.gz" | groff -man -ww -z 2>&1 || true)
[ -z "$warnings" ] || fail "groff: $warnings"
man=$(zcat "$usr/share/man/man1/welvane.1.gz" | groff -man -Tutf8 -P-cbou 2>/dev/null)
[[ $man != *@* ]] || fail "an unfilled @VARIABLE@ in the manual"
options=$("$usr/bin/welvane" --help | grep -oE '(^|[[:space:]])--?[a-z][a-z-]+' | tr -d ' ' | sort -u)
[ -n "$options" ] || fail "no options in --help"
for o in $options; do
    grep -qF -- "$o" <<<"$man" || fail "manual lacks $o"
done
pages=$("$usr/bin/welvane" --help | sed -n 's/^Pages: //p' | tr -d ',')
for p in $pages; do
    grep -qE "^ +$p( |\$)" <<<"$man" || fail "manual lacks page $p"
done

# The completion offers the pages the program knows.
completion=$(bash -c "source '$usr/share/bash-completion/completions/welvane'
    COMP_WORDS=(welvane --dump ''); COMP_CWORD=2; _welvane; echo \"\${COMPREPLY[*]}\"")
[ "$(tr ' ' '\n' <<<"$completion" | sort)" = "$(tr ' ' '\n' <<<"$pages" | sort)" ] ||
    fail "completion pages '$completion' differ from '$pages'"

desktop-file-validate "$usr/share/applications/$id.desktop" || fail "desktop-file-validate"
out=$(appstreamcli validate --no-net --explain "$usr/share/metainfo/$id.metainfo.xml" 2>&1) ||
    fail "appstreamcli: $out"
grep -qE '^[WE]:' <<<"$out" && fail "appstreamcli: $out"
echo "install tree OK"
