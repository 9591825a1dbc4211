#!/usr/bin/env bash
# The release package: scripts/dist packs a zip that holds exactly the i686 y8.exe, y8.chm,
# Y8.ini and the samples in Beispiele\; the Y8.ini in it reads back, through the program's
# own ini reader, every key of the program's table with its default and the tool files
# pointing at samples that are in the zip.
# Usage: test_dist.sh <native build dir> <source dir>
set -eu -o pipefail
build=$(cd "$1/.." && pwd) src=$(cd "$2" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

"$src/scripts/dist" "$build" "$work/y8-win32.zip" >/dev/null
unzip -q "$work/y8-win32.zip" -d "$work/x"
expected=$(printf 'Y8/%s\n' y8.exe y8.chm Y8.ini; cd "$src/samples" && printf 'Y8/Beispiele/%s\n' *)
got=$(cd "$work/x" && find . -type f | sed 's|^\./||' | LC_ALL=C sort)
[ "$got" = "$(LC_ALL=C sort <<<"$expected")" ] || fail "the zip holds: $got"
cmp -s "$work/x/Y8/y8.exe" "$build/win32/y8.exe" || fail "y8.exe is not the i686 build's"
[ "$("$src/scripts/wine-loader" "$work/x/Y8/y8.exe")" = /usr/lib/wine/wine ] || fail "y8.exe is no i686 program"
cmp -s "$work/x/Y8/y8.chm" "$build/win32/y8.chm" || fail "y8.chm is not the build's help file"
for sample in "$src"/samples/*; do
  cmp -s "$sample" "$work/x/Y8/Beispiele/${sample##*/}" || fail "Beispiele/${sample##*/} differs from samples/"
done

ini=$work/x/Y8/Y8.ini
"$1/y8_ini_template" --check "$ini" 'Installation.BauKasten=Beispiele\INHALT.TXT' \
    'Installation.Floskeln=Beispiele\kuerzel.txt' || fail "Y8.ini does not read back as the table says"
! "$1/y8_ini_template" --check "$ini" 2>/dev/null || fail "the check passes a file whose values differ"
grep -q $'^\\[Floskel\\]\r$' "$ini" && grep -q $'^S-C-_=\r$' "$ini" || fail "Y8.ini lacks keys or CR LF"
for key in BauKasten Floskeln; do
  file=$(sed -n "s/^$key=Beispiele\\\\\\(.*\\)\r\$/\\1/p" "$ini")
  [ -n "$file" ] && [ -f "$work/x/Y8/Beispiele/$file" ] || fail "$key names no sample in the zip"
done
echo "PASS: the zip holds $(wc -l <<<"$got") files"
