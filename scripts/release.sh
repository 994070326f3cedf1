#!/usr/bin/env bash
# Builds every artifact of a release from the committed tree (git archive of
# HEAD, not the working folder) into dist/:
#   lumocalc-<version>.tar.gz         the source
#   lumocalc_<version>_amd64.deb      lumocalc and lumocalc-eval for Linux x86-64
#   lumocalc_<version>_arm64.deb      the same for Linux ARM64 (cross-built)
#   lumocalc-<version>-win32.zip      lumocalc.exe, README.md, LICENSE, NOTICES.txt
#   lumocalc-<version>.html           the web page
#   SHA256SUMS                        for `sha256sum -c SHA256SUMS`
# The version is the top CMakeLists.txt's. Every byte is fixed by the
# commit: times are the last commit's (SOURCE_DATE_EPOCH), and the folder,
# the clock, the umask, the time zone and the locale leave no trace
# (scripts/release-twice.sh builds twice and compares).
#   scripts/release.sh [--out DIR] [--work DIR]   (dist and build/release-work
#                                                  unless given)
set -euo pipefail
cd "$(dirname "$0")/.."
top=$PWD
out=$top/dist
work=$top/build/release-work
while [ $# -gt 0 ]; do
  case "$1" in
    --out) out=$(realpath -m "$2"); shift 2 ;;
    --work) work=$(realpath -m "$2"); shift 2 ;;
    *) echo "release.sh: unknown argument $1" >&2; exit 2 ;;
  esac
done

scripts/setup.sh native arm64 windows >&2
# (The web purpose would also install the page tests' npm packages.)
command -v emcc >/dev/null || scripts/setup.sh web >&2
# What may differ from one machine or person to the next is set here.
umask 022
export TZ=UTC LC_ALL=C.UTF-8 LANG=C.UTF-8
unset LANGUAGE
SOURCE_DATE_EPOCH=$(git log -1 --format=%ct HEAD)
export SOURCE_DATE_EPOCH
# A Node that is not Debian's lacks the path of emscripten's packages.
export NODE_PATH=/usr/share/nodejs
version=$(sed -n 's/^project(lumocalc VERSION \([0-9.]*\) .*/\1/p' CMakeLists.txt)
[ -n "$version" ] || { echo "release.sh: no version in CMakeLists.txt" >&2; exit 1; }
if [ -n "$(git status --porcelain --untracked-files=no)" ]; then
  echo "release.sh: uncommitted changes are left out: this is $(git rev-parse --short HEAD)" >&2
fi

rm -rf "$work" "$out"
mkdir -p "$work" "$out"
step() { echo "release.sh: $*" >&2; }

step "the source, lumocalc-$version.tar.gz"
git archive --format=tar --prefix="lumocalc-$version/" HEAD | gzip -9 -n >"$out/lumocalc-$version.tar.gz"
tar -xzf "$out/lumocalc-$version.tar.gz" -C "$work"
src=$work/lumocalc-$version

generator=()
command -v ninja >/dev/null && generator=(-G Ninja)
# configure DIR CMAKE_OPTION...: a Release tree of the exported source with
# nothing but the programs.
configure() {
  local dir=$1
  shift
  cmake -S "$src" -B "$dir" "${generator[@]}" -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF \
    -DLUMOCALC_BENCHMARKS=OFF -DLUMOCALC_WERROR=ON "$@" >/dev/null
}
jobs=$(nproc 2>/dev/null || echo 2)

for arch in amd64 arm64; do
  step "lumocalc_${version}_$arch.deb"
  toolchain=()
  [ "$arch" = amd64 ] || toolchain=(-DCMAKE_TOOLCHAIN_FILE="$src/cmake/AArch64-linux.cmake")
  configure "$work/$arch" "${toolchain[@]}"
  cmake --build "$work/$arch" -j "$jobs" >/dev/null
  (cd "$work/$arch" && cpack -G DEB >/dev/null)
  cp "$work/$arch/lumocalc_${version}_$arch.deb" "$out/"
done

step "lumocalc-$version-win32.zip"
configure "$work/win32" -DCMAKE_TOOLCHAIN_FILE="$src/cmake/MinGW-i686.cmake"
cmake --build "$work/win32" -j "$jobs" --target lumocalc >/dev/null
(cd "$work/win32" && cpack -G ZIP >/dev/null)
cp "$work/win32/lumocalc-$version-win32.zip" "$out/"

step "lumocalc-$version.html"
emcmake cmake -S "$src" -B "$work/web" "${generator[@]}" -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF \
  -DLUMOCALC_BENCHMARKS=OFF -DLUMOCALC_WERROR=ON -DCMAKE_CROSSCOMPILING_EMULATOR="$(command -v node)" \
  >/dev/null
cmake --build "$work/web" -j "$jobs" >/dev/null
cp "$work/web/web/lumocalc.html" "$out/lumocalc-$version.html"

# Nothing leaves without its licence and the notices of what it carries.
fail() { echo "release.sh: $*" >&2; exit 1; }
dpkg-deb --fsys-tarfile "$out/lumocalc_${version}_amd64.deb" |
  tar -xO ./usr/share/doc/lumocalc/copyright | grep -q '^Files: usr/bin/lumocalc$' ||
  fail "the package's copyright file lacks the notices of ncurses"
[ "$(cmake -E tar tf "$out/lumocalc-$version-win32.zip" | LC_ALL=C sort | tr '\n' ' ')" = \
  "LICENSE NOTICES.txt README.md lumocalc.exe " ] || fail "the ZIP lacks LICENSE or NOTICES.txt"
sed -n 2p "$out/lumocalc-$version.html" | grep -q "^<!-- lumo calc $version, MIT licence" &&
  grep -q 'Emscripten' "$out/lumocalc-$version.html" || fail "the page lacks its licence"

(cd "$out" && sha256sum -- lumocalc* >SHA256SUMS)
step "$out:"
(cd "$out" && ls -l --time-style=+ -- * | awk '{ print "  " $5 "\t" $NF }' >&2)
