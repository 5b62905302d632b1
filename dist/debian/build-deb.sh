#!/usr/bin/env bash
# Builds the Debian package from a build folder's stripped installation under /usr with
# dpkg-deb, so that the same build gives the same bytes: file modes set here rather than by the
# umask, every time stamp the commit's when SOURCE_DATE_EPOCH gives it, owners root.
#   usage: build-deb.sh <build folder> <control template> <package> [readelf]
# The control template's INSTALLED_SIZE and DEPENDS are filled in here. With a readelf (a build
# for another processor, whose libraries dpkg-shlibdeps does not know) the dependency is libc6 of
# the newest GLIBC_ symbol version the program asks for, and only when every library it needs is
# one of libc6's; without, dpkg-shlibdeps reads it from the system's symbol files.
set -euo pipefail
build="$1"
template="$2"
deb="$3"
readelf="${4:-}"

fail() {
  echo "build-deb: $*" >&2
  exit 1
}

root="$build/deb-root"
rm -rf "$root"
DESTDIR="$root" cmake --install "$build" --prefix /usr --strip >/dev/null
program="$root/usr/bin/orvologger"
[ -x "$program" ] || fail "the installation lacks usr/bin/orvologger"

if [ -n "$readelf" ]; then
  dynamic=$("$readelf" -d -V -W "$program")
  while read -r library; do
    [[ "$library" =~ ^(libc|libm|libdl|libpthread|librt|libutil)\.so\.[0-9]+$ ||
       "$library" =~ ^ld[-.a-z0-9_]*\.so\.[0-9]+$ ]] ||
      fail "the program needs $library, which libc6 does not hold"
  done < <(sed -n 's/.*Shared library: \[\([^]]*\)\].*/\1/p' <<<"$dynamic")
  newest=$(grep -oE 'GLIBC_[0-9]+\.[0-9]+(\.[0-9]+)?' <<<"$dynamic" | sed 's/^GLIBC_//' |
           sort -V | tail -n 1)
  [ -n "$newest" ] || fail "the program asks for no GLIBC_ symbol version"
  depends="libc6 (>= $newest)"
else
  # dpkg-shlibdeps wants a source package's debian/control beside it.
  scratch=$(mktemp -d)
  trap 'rm -rf "$scratch"' EXIT
  mkdir "$scratch/debian"
  touch "$scratch/debian/control"
  depends=$(cd "$scratch" && dpkg-shlibdeps -O "$program" | sed -n 's/^shlibs:Depends=//p')
  [ -n "$depends" ] || fail "dpkg-shlibdeps found no dependency"
fi

find "$root" -type d -exec chmod 0755 {} +
find "$root" -type f -exec chmod 0644 {} +
chmod 0755 "$program"

# Installed-Size as dpkg-gencontrol counts it: each file's size in KiB rounded up, one per folder.
size=$(cd "$root" && find usr \( -type f -printf '%s\n' \) -o \( -type d -printf '1024\n' \) |
       awk '{ kib += int(($1 + 1023) / 1024) } END { print kib }')

mkdir -m 0755 "$root/DEBIAN"
sed -e "s/INSTALLED_SIZE/$size/" -e "s/DEPENDS/$depends/" "$template" >"$root/DEBIAN/control"
(cd "$root" && find usr -type f -print0 | LC_ALL=C sort -z | xargs -0 md5sum) >"$root/DEBIAN/md5sums"
chmod 0644 "$root/DEBIAN/control" "$root/DEBIAN/md5sums"

if [ -n "${SOURCE_DATE_EPOCH:-}" ]; then
  find "$root" -exec touch --no-dereference --date="@$SOURCE_DATE_EPOCH" {} +
fi
# gzip as dpkg-deb writes it carries no time stamp; dpkg-deb sorts the members and takes the ar
# members' time from SOURCE_DATE_EPOCH.
rm -f "$deb"
dpkg-deb --root-owner-group -Zgzip -z9 --build "$root" "$deb" >/dev/null
