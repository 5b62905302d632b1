#!/usr/bin/env bash
# Checks the Windows zip: exactly the program and the two readmes, the readmes with CR LF line
# ends, readme_jp.txt in Shift_JIS with the same text as its source, and the unpacked program
# running under Wine with its help text naming both readmes.
#   usage: check-zip.sh <wine64> <zip> <folder of the readme sources>
set -euo pipefail
wine="$1"
zip="$2"
sources="$3"
export WINEDEBUG=-all

dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
cd "$dir"
cmake -E tar xf "$zip"

listing=$(find . -type f | sort | tr '\n' ' ')
[ "$listing" = "./orvologger.exe ./readme.txt ./readme_jp.txt " ] ||
  { echo "unexpected zip contents: $listing"; exit 1; }

for readme in readme.txt readme_jp.txt; do
  if grep -q $'[^\r]$' "$readme"; then echo "$readme: a line without CR LF"; exit 1; fi
done
iconv -f CP932 -t UTF-8 readme_jp.txt | tr -d '\r' | cmp - "$sources/readme_jp.txt" ||
  { echo "readme_jp.txt is not the Shift_JIS form of its source"; exit 1; }
cmp <(tr -d '\r' <readme.txt) "$sources/readme.txt" || { echo "readme.txt differs"; exit 1; }

help=$(timeout 60 "$wine" ./orvologger.exe -help)
case "$help" in
  *"orvologger ver."*"For more information, see readme.txt or readme_jp.txt(JAPANESE)."*) ;;
  *) echo "unexpected help text: $help"; exit 1 ;;
esac
echo "zip holds orvologger.exe, readme.txt and readme_jp.txt"
