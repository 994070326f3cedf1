#!/usr/bin/env bash
# Builds the release twice and shows that it gives the same bytes: two clones
# of the committed tree in two folders (of different lengths), built one after
# the other (so at different times) with another umask, time zone and locale,
# each by scripts/release.sh into its own dist/. Every file of the two must be
# identical; where one differs, diffoscope shows why.
#   scripts/release-twice.sh [DIR]     (a new folder under /tmp unless given;
#                                       both builds stay there)
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh release
root=${1:-$(mktemp -d /tmp/lumocalc-twice.XXXXXX)}
mkdir -p "$root"
root=$(realpath "$root")

first=$root/a
second=$root/second-build
rm -rf "$first" "$second"
git clone -q --no-hardlinks . "$first"
git clone -q --no-hardlinks . "$second"
(umask 022 && cd "$first" && TZ=UTC LC_ALL=C.UTF-8 scripts/release.sh)
(umask 077 && cd "$second" && TZ=Pacific/Chatham LC_ALL=POSIX LANG=de_DE.UTF-8 scripts/release.sh)

status=0
for file in "$first"/dist/*; do
  name=${file##*/}
  if cmp -s "$file" "$second/dist/$name"; then
    echo "release-twice.sh: same bytes: $name"
  else
    status=1
    echo "release-twice.sh: $name differs:"
    diffoscope --text - "$file" "$second/dist/$name" | head -n 200 || true
  fi
done
extra=$(comm -13 <(ls "$first/dist") <(ls "$second/dist"))
[ -z "$extra" ] || { status=1; echo "release-twice.sh: only the second build made $extra"; }
[ $status -eq 0 ] && echo "release-twice.sh: both builds gave the same dist/ ($root)"
exit $status
