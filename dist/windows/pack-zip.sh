#!/usr/bin/env bash
# Packs a staged folder into a zip that the same folder always packs into byte for byte: the
# folder first, then its files in name order; modes set here rather than by the umask; no
# owners or Unix time fields (zip -X); every time stamp the commit's when SOURCE_DATE_EPOCH
# gives it, written in UTC (zip keeps local time).
#   usage: pack-zip.sh <folder holding the staged folder> <staged folder's name> <zip>
set -euo pipefail
root="$1"
folder="$2"
zip="$3"

cd "$root"
chmod 0755 "$folder"
find "$folder" -type f -exec chmod 0644 {} +
find "$folder" -type f -name '*.exe' -exec chmod 0755 {} +
if [ -n "${SOURCE_DATE_EPOCH:-}" ]; then
  find "$folder" -exec touch --no-dereference --date="@$SOURCE_DATE_EPOCH" {} +
fi
rm -f "$zip"
find "$folder" -type f -print0 | LC_ALL=C sort -z |
  { printf '%s/\0' "$folder"; cat; } |
  xargs -0 env TZ=UTC zip -X -q -9 "$zip"
