#!/usr/bin/env bash
# Checks the Windows zip: one folder named as the zip (program, version, platform) holding exactly
# the program, the two readmes and the licence; the program a console executable of the zip's
# platform (win32: PE32, win64: PE32+) that needs no DLL beyond the system's (the C and C++
# runtimes and the stack protector's are linked in, the latter seeding its guard from
# ADVAPI32.DLL, and WS2_32.DLL is loaded at run time, not imported); the readmes with
# CR LF line ends, readme_jp.txt in Shift_JIS with the same text as its source; and the unpacked
# program running under Wine with its help text naming both readmes.
#   usage: check-zip.sh <wine> <objdump> <zip> <folder of the readme sources> <LICENSE>
set -euo pipefail
wine="$1"
objdump="$2"
zip="$3"
sources="$4"
license="$5"
folder=$(basename "$zip" .zip)
# The platform is the last word of the zip's name: orvologger-1.0-win32 or -win64.
platform=${folder##*-}
export WINEDEBUG=-all

dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
cd "$dir"
cmake -E tar xf "$zip"

listing=$(find . -mindepth 1 | sort | tr '\n' ' ')
expected="./$folder ./$folder/LICENSE.txt ./$folder/orvologger.exe ./$folder/readme.txt ./$folder/readme_jp.txt "
[ "$listing" = "$expected" ] || { echo "unexpected zip contents: $listing"; exit 1; }
cd "$folder"

headers=$("$objdump" -p orvologger.exe)
case "$platform" in
  win32) magic='^Magic.*(PE32)$' ;;
  win64) magic='^Magic.*(PE32+)$' ;;
  *) echo "unknown platform $platform"; exit 2 ;;
esac
grep -q "$magic" <<<"$headers" || { echo "orvologger.exe is not a $platform program"; exit 1; }
grep -q '^Subsystem.*(Windows CUI)' <<<"$headers" || { echo "not a console program"; exit 1; }
imports=$(sed -n 's/^\tDLL Name: //p' <<<"$headers" | tr '[:upper:]' '[:lower:]' | sort | tr '\n' ' ')
[ "$imports" = "advapi32.dll kernel32.dll msvcrt.dll version.dll " ] ||
  { echo "orvologger.exe imports $imports"; exit 1; }

for readme in readme.txt readme_jp.txt LICENSE.txt; do
  if grep -q $'[^\r]$' "$readme"; then echo "$readme: a line without CR LF"; exit 1; fi
done
iconv -f CP932 -t UTF-8 readme_jp.txt | tr -d '\r' | cmp - "$sources/readme_jp.txt" ||
  { echo "readme_jp.txt is not the Shift_JIS form of its source"; exit 1; }
cmp <(tr -d '\r' <readme.txt) "$sources/readme.txt" || { echo "readme.txt differs"; exit 1; }
cmp <(tr -d '\r' <LICENSE.txt) "$license" || { echo "LICENSE.txt differs from LICENSE"; exit 1; }

help=$(timeout 60 "$wine" ./orvologger.exe -help)
case "$help" in
  *"orvologger ver."*"For more information, see readme.txt or readme_jp.txt(JAPANESE)."*) ;;
  *) echo "unexpected help text: $help"; exit 1 ;;
esac
echo "zip holds $folder/ with orvologger.exe, readme.txt, readme_jp.txt and LICENSE.txt"
