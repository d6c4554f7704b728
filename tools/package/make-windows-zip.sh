#!/usr/bin/env bash
# Packs the Windows programs for a user: build/win32/quorvane-VERSION-win64.zip with quorvane.exe,
# quorvane-cli.exe (both stripped), the README and the licence.
#   make-windows-zip.sh RELEASE_BUILD_DIR OUTPUT_DIR
set -euo pipefail
build=$1
out=$2
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
[ -n "$version" ] || { echo "make-windows-zip: no project version in $build/CMakeCache.txt" >&2; exit 1; }
name=quorvane-$version-win64
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
mkdir "$stage/$name"
for program in quorvane quorvane-cli; do
    x86_64-w64-mingw32-strip -o "$stage/$name/$program.exe" "$build/ui/win32/$program.exe"
done
cp README.md "$stage/$name/README.md"
for licence in LICENSE LICENSE.txt COPYING; do
    [ -f "$licence" ] && cp "$licence" "$stage/$name/"
done
mkdir -p "$out"
rm -f "$out/$name.zip"
(cd "$stage" && zip -q -9 -r - "$name") >"$out/$name.zip"
ls -l "$stage/$name" | awk 'NR > 1 { printf "  %-20s %9d bytes\n", $9, $5 }'
echo "$out/$name.zip: $(stat -c %s "$out/$name.zip") bytes"
