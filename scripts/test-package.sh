#!/usr/bin/env bash
# The Debian package of a Linux build tree, built already: cpack -G DEB makes
# lumocalc_<version>_<architecture>.deb; its fields and files are checked,
# it is unpacked into a scratch root (dpkg-deb -x), both programs run from
# there (under QEMU when the package is for another processor), their
# hardening is checked, and lintian must find no error.
#   scripts/test-package.sh [BUILD_DIR]     (build/release unless given)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/release}

for tool in cpack dpkg-deb readelf; do
  if ! command -v "$tool" >/dev/null; then
    echo "test-package.sh: no $tool on this machine (a Debian system has it): the package is not tested"
    exit 0
  fi
done

fail() { echo "test-package.sh: $*" >&2; exit 1; }

said=$(cd "$build" && cpack -G DEB 2>&1) || fail "cpack failed: $said"
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
arch=$(sed -n 's/^set(CPACK_DEBIAN_PACKAGE_ARCHITECTURE "\(.*\)")$/\1/p' "$build/CPackConfig.cmake")
deb="$build/lumocalc_${version}_${arch}.deb"
[ -f "$deb" ] || fail "cpack made no $deb"
echo "test-package.sh: $deb"
dpkg-deb --info "$deb" | sed -n 's/^ \(Package\|Version\|Architecture\|Depends\):/  \1:/p'

# lumocalc-eval is static, and lumocalc carries ncurses, libstdc++ and libgcc:
# the C library is all they need.
depends=$(dpkg-deb --field "$deb" Depends)
[[ "$depends" =~ ^libc6(\ \(\>=\ [0-9.]+\))?$ ]] || fail "depends on more than libc6: $depends"

root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
dpkg-deb --extract "$deb" "$root"
for file in usr/bin/lumocalc usr/bin/lumocalc-eval usr/share/man/man1/lumocalc.1.gz \
  usr/share/man/man1/lumocalc-eval.1.gz usr/share/doc/lumocalc/copyright \
  usr/share/doc/lumocalc/changelog.gz; do
  [ -f "$root/$file" ] || fail "the package has no /$file"
done
for program in lumocalc lumocalc-eval; do
  needed=$(readelf --dynamic "$root/usr/bin/$program" | sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p' |
    grep -v -x -E 'libc\.so\.6|libm\.so\.6|ld-linux-.*\.so\.[0-9]+' || true)
  [ -z "$needed" ] || fail "$program needs $needed"
done
# The man pages hold the guide's examples.
gzip -dc "$root/usr/share/man/man1/lumocalc-eval.1.gz" | grep -q -F '1/3*3 => 0 , 999999' ||
  fail "the man page lumocalc-eval(1) has lost its examples"

run=()
if [ "$arch" != "$(dpkg --print-architecture)" ]; then
  case "$arch" in
    arm64) run=(qemu-aarch64 -L /usr/aarch64-linux-gnu) ;;
    *) fail "no way to run $arch programs here" ;;
  esac
  command -v "${run[0]}" >/dev/null || fail "${run[0]} is needed to run the $arch programs"
fi
expect() {
  local want=$1
  shift
  local got
  got=$("${run[@]}" "$@") || fail "$* failed"
  [ "$got" = "$want" ] || fail "$* said «$got», not «$want»"
}
expect "2+3*4 = 14" "$root/usr/bin/lumocalc-eval" '2+3*4'
expect "lumocalc-eval $version" "$root/usr/bin/lumocalc-eval" --version
expect "lumocalc $version" "$root/usr/bin/lumocalc" --version
echo "test-package.sh: both programs run from the unpacked package"

# Debian's hardening, as hardening-check sees it (cmake/Hardening.cmake sets
# it). It finds the stack protector and fortified functions among what a
# program imports, and a static one (lumocalc-eval) imports nothing; and it
# finds no control-flow protection on any program linked on Debian 12, whose C
# start files (Scrt1.o, crti.o) carry no IBT/SHSTK or BTI marking.
if command -v hardening-check >/dev/null; then
  hardening-check --nocfprotection "$root/usr/bin/lumocalc" >/dev/null 2>&1 ||
    fail "lumocalc is not hardened: $(hardening-check "$root/usr/bin/lumocalc" 2>&1)"
  hardening-check --nocfprotection --nostackprotector --nofortify "$root/usr/bin/lumocalc-eval" \
    >/dev/null 2>&1 ||
    fail "lumocalc-eval is not hardened: $(hardening-check "$root/usr/bin/lumocalc-eval" 2>&1)"
  echo "test-package.sh: both programs are hardened (PIE, RELRO, immediate binding)"
else
  echo "test-package.sh: no hardening-check on this machine (package devscripts): not checked"
fi

if command -v lintian >/dev/null; then
  lintian --fail-on error "$deb" 2> >(grep -v 'root privileges' >&2) || fail "lintian finds an error"
  echo "test-package.sh: lintian finds no error"
else
  echo "test-package.sh: no lintian on this machine (package lintian): the package is not linted"
fi
