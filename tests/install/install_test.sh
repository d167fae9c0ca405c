#!/usr/bin/env bash
# Installs the build into a temporary DESTDIR as a package would and uses the
# installed tree as a user would: its catalogue finds the installed
# databases, queries answer, user files land in the XDG folders (or beside a
# Vorn.ini of the portable layout), and the desktop entry and AppStream
# metainfo validate. Usage: install_test.sh BUILD_DIR
set -euo pipefail
build=$1
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

DESTDIR="$root" cmake --install "$build" --prefix /usr >/dev/null
usr=$root/usr
for f in bin/vorn bin/vorn-cli bin/vorn-build share/applications/org.vorn.Vorn.desktop \
         share/icons/hicolor/scalable/apps/org.vorn.Vorn.svg share/metainfo/org.vorn.Vorn.metainfo.xml \
         share/man/man1/vorn-cli.1 share/man/man1/vorn-build.1 share/vorn/docs/desktop.md \
         share/vorn/data/GNT.qyx/Stats.txt share/vorn/data/HEB.qyx/Stats.txt; do
  [[ -e $usr/$f ]] || fail "$f is not installed"
done
[[ ! -e $usr/share/vorn/data/GNT.qyx/Sources.txt ]] || fail "the build's source record is installed"

mkdir -p "$root/home" "$root/work" "$root/portable"
run() { (cd "$1" && shift && env -u VORN_DATA -u XDG_CONFIG_HOME -u XDG_DATA_HOME HOME="$root/home" "$@"); }

list=$(run "$root/work" "$usr/bin/vorn-cli" list)
grep -q "	GNT	Greek NT	137554 words	$usr/share/vorn/data/GNT.qyx" <<<"$list" ||
  fail "the installed catalogue does not list the installed Greek NT: $list"
grep -q "$build" <<<"$list" && fail "the installed program lists the build's databases: $list"
count=$(run "$root/work" "$usr/bin/vorn-cli" query --db GNT --count 'tag VIAP*')
[[ $count == 863 ]] || fail "tag VIAP* counts $count"
# Hit analysis from the command line: one form and its count per row, tab-separated, the
# counts adding up to the hits.
table=$(run "$root/work" "$usr/bin/vorn-cli" analyse --db GNT --line Form --format tsv 'base λόγος')
sum=$(awk -F'\t' 'NF == 2 && $2 ~ /^[0-9]+$/ { s += $2 } END { print s + 0 }' <<<"$table")
[[ $sum == 330 ]] || fail "the forms of base λόγος add up to $sum: $table"
# The desktop program answers --version without a display.
version=$(run "$root/work" env -u DISPLAY -u WAYLAND_DISPLAY "$usr/bin/vorn" --version) ||
  fail "vorn --version failed: $version"
[[ $version == "vorn "* ]] || fail "vorn --version printed: $version"

# User files: in the user's data folder by default, beside Vorn.ini when the
# working folder holds one.
run "$root/work" "$usr/bin/vorn-cli" usertag --db GNT create Themes/Word >/dev/null
[[ -n $(find "$root/home/.local/share/vorn/GNT" -name '*.vtd' 2>/dev/null) ]] ||
  fail "the user tag is not under ~/.local/share/vorn/GNT"
[[ -z $(find "$root/work" -mindepth 1) ]] || fail "files were written into the working folder"
touch "$root/portable/Vorn.ini"
run "$root/portable" "$usr/bin/vorn-cli" usertag --db GNT create Themes/Word >/dev/null
[[ -n $(find "$root/portable/GNT" -name '*.vtd' 2>/dev/null) ]] || fail "the portable user tag is not beside Vorn.ini"

desktop-file-validate "$usr/share/applications/org.vorn.Vorn.desktop"
appstreamcli validate --no-net "$usr/share/metainfo/org.vorn.Vorn.metainfo.xml" >/dev/null ||
  appstreamcli validate --no-net "$usr/share/metainfo/org.vorn.Vorn.metainfo.xml"
echo "installed tree works"
