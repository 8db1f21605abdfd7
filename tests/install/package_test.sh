#!/bin/sh
# package_test.sh BUILD_DIR VERSION
# Makes the Debian package from the build as `make package` does and checks it: its name, its
# control fields (maintainer, section, the libraries dpkg-shlibdeps found, plugins and fonts),
# the files it installs, and a lintian run without errors or warnings.
set -eu
build=$1 version=$2
out=$HOME/.velkorvan-tests/package-$$
trap 'rm -rf "$out"' EXIT
fail() {
  echo "package test: $*" >&2
  exit 1
}

mkdir -p "$out"
(cd "$build" && cpack -G DEB -B "$out" >"$out/cpack.log" 2>&1) || fail "cpack failed: $(cat "$out/cpack.log")"
deb=$out/velkorvan_${version}_$(dpkg --print-architecture).deb
[ -f "$deb" ] || fail "no $(basename "$deb"), only: $(ls "$out")"

field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = velkorvan ] || fail "package named $(field Package)"
[ "$(field Version)" = "$version" ] || fail "version $(field Version)"
[ "$(field Section)" = science ] || fail "section $(field Section)"
field Maintainer | grep -q '^[^<]*<[^@>]*@[^>]*>$' || fail "maintainer \"$(field Maintainer)\""
depends=$(field Depends)
for dependency in libc6 libdds0 libqt6widgets6 libqt6svg6 qt6-qpa-plugins fonts-noto-cjk fonts-liberation; do
  printf '%s' "$depends" | grep -q "$dependency" || fail "Depends lacks $dependency: $depends"
done

files=$(dpkg-deb -c "$deb" | awk '{ print $6 }')
for file in ./usr/bin/velkorvan ./usr/bin/velkorvan-cli ./usr/bin/velkorvan-mklib ./usr/share/velkorvan/Library.bin \
  ./usr/share/man/man1/velkorvan.1.gz ./usr/share/applications/org.velkorvan.VelKorvan.desktop \
  ./usr/share/doc/velkorvan/copyright; do
  printf '%s\n' "$files" | grep -qx -- "$file" || fail "the package lacks $file"
done

complaints=$(lintian "$deb" 2>&1 | grep -E '^[EW]:' || true)
[ -z "$complaints" ] || fail "lintian: $complaints"
echo "package test: passed"
