#!/bin/sh
# install_test.sh BUILD_DIR VERSION README
# Installs the build into a scratch root as a package would (prefix /usr) and checks what a
# system gets: the layout, a desktop entry and AppStream data that their validators accept,
# icons of the size their folders name, man pages that render without warnings, and installed
# programs that run on the installed sample library.
set -eu
build=$1 version=$2 readme=$3
root=$HOME/.velkorvan-tests/install-$$
trap 'rm -rf "$root"' EXIT
fail() {
  echo "install test: $*" >&2
  exit 1
}

mkdir -p "$root"
DESTDIR=$root cmake --install "$build" --prefix /usr --component velkorvan >/dev/null
usr=$root/usr
app=org.velkorvan.VelKorvan

for program in velkorvan velkorvan-cli velkorvan-mklib; do
  [ -x "$usr/bin/$program" ] || fail "no program /usr/bin/$program"
  [ -f "$usr/share/man/man1/$program.1.gz" ] || fail "no man page for $program"
done
for file in share/velkorvan/Library.bin share/velkorvan/docs/GetLibrary.HTML share/velkorvan/docs/GetLibrary.htm \
  share/velkorvan/docs/GraphExplanation.HTML share/velkorvan/docs/GraphExplanation.htm \
  share/applications/$app.desktop share/metainfo/$app.metainfo.xml share/icons/hicolor/scalable/apps/velkorvan.svg \
  share/doc/velkorvan/copyright share/doc/velkorvan/changelog.gz; do
  [ -f "$usr/$file" ] || fail "no /usr/$file"
done
extra=$(cd "$root" && find . -type f | grep -v -e '^./usr/bin/' -e '^./usr/share/' || true)
[ -z "$extra" ] || fail "files outside /usr/bin and /usr/share: $extra"

desktop-file-validate "$usr/share/applications/$app.desktop" || fail "desktop entry refused"
grep -q '^Comment\[ja\]=' "$usr/share/applications/$app.desktop" || fail "desktop entry without a Japanese comment"
grep -q '^Categories=Game;' "$usr/share/applications/$app.desktop" || fail "desktop entry not under Games"
appstreamcli validate --no-net "$usr/share/metainfo/$app.metainfo.xml" >/dev/null ||
  fail "AppStream metadata refused: $(appstreamcli validate --no-net "$usr/share/metainfo/$app.metainfo.xml")"
grep -q "<release version=\"$version\"" "$usr/share/metainfo/$app.metainfo.xml" || fail "metadata names another version"

# A PNG gives its width and height as big-endian words at bytes 16 and 20.
pngs=0
for png in "$usr"/share/icons/hicolor/*x*/apps/velkorvan.png; do
  size=$(basename "$(dirname "$(dirname "$png")")")
  wh=$(od -An -tu1 -j16 -N8 "$png" | awk '{ printf "%dx%d", $3 * 256 + $4, $7 * 256 + $8 }')
  [ "$wh" = "$size" ] || fail "$png is $wh"
  pngs=$((pngs + 1))
done
[ "$pngs" -ge 1 ] || fail "no PNG icon"

# Man pages: no warnings from the formatter, and the text the pages must carry.
for program in velkorvan velkorvan-cli velkorvan-mklib; do
  page=$usr/share/man/man1/$program.1.gz
  warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 -Z "$page" 2>&1 >/dev/null)
  [ -z "$warnings" ] || fail "$program.1: $warnings"
  text=$(LC_ALL=C.UTF-8 MANWIDTH=80 MANPAGER=cat PAGER=cat man -l "$page" 2>&1)
  for want in NAME SYNOPSIS "$program" "$version" "SEE ALSO"; do
    printf '%s' "$text" | grep -q -- "$want" || fail "$program.1 lacks \"$want\""
  done
done
man_says() { LC_ALL=C.UTF-8 MANWIDTH=200 MANPAGER=cat man -l "$usr/share/man/man1/$1.1.gz" | grep -q -- "$2" || fail "$1.1 lacks \"$2\""; }
man_says velkorvan "~/.local/share/velkorvan"
man_says velkorvan "--version"
man_says velkorvan-cli "--deals"
man_says velkorvan-cli "--format"
man_says velkorvan-mklib "export-pbn"
man_says velkorvan-mklib "--seed"

# The installed programs run as installed, without the build's library paths.
out=$("$usr/bin/velkorvan-cli" --version) || fail "velkorvan-cli --version failed"
[ "$out" = "velkorvan-cli $version" ] || fail "velkorvan-cli --version says \"$out\""
cp -r "$usr/share/velkorvan" "$root/folder"
"$usr/bin/velkorvan-cli" scan --dir "$root/folder" >"$root/scan.txt" 2>"$root/scan.err" ||
  fail "scan of the installed sample library failed: $(cat "$root/scan.err")"
cmp -s "$usr/share/velkorvan/Library.bin" "$root/folder/Library.bin" || fail "copied library differs"
head -1 "$root/scan.txt" | grep -qx 'Table(none)Korvan   Library.bin, 20000 deals' || fail "scan says: $(head -1 "$root/scan.txt")"
# The README shows this scan's grid; it must be what the installed program prints.
grep -A 8 '^Table(none)Korvan   Library.bin, 20000 deals' "$readme" | grep -v '^```' | sed '/^$/d' >"$root/readme.txt"
sed '/^$/d' "$root/scan.txt" | head -n "$(wc -l <"$root/readme.txt")" >"$root/printed.txt"
cmp -s "$root/readme.txt" "$root/printed.txt" || fail "the README's sample grid differs from the scan: $(diff "$root/readme.txt" "$root/printed.txt")"
# ... and the README's CSV example is what it prints.
"$usr/bin/velkorvan-cli" show --dir "$root/folder" --format csv >"$root/scan.csv" || fail "show --format csv failed"
grep -A 4 '^option_code,measure,' "$readme" | grep -v -e '^```' -e '^\.\.\.$' >"$root/readme.csv"
[ "$(wc -l <"$root/readme.csv")" -eq 3 ] || fail "the README's CSV example is not where it was"
while IFS= read -r line; do
  grep -qxF -- "$line" "$root/scan.csv" || fail "the README's CSV line \"$line\" is not printed"
done <"$root/readme.csv"
echo "install test: passed"
