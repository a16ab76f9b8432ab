#!/usr/bin/env bash
# Checks tools/make-zip.sh on stand-in modules: the zip's name and members,
# the pluginst.inf keys the file manager reads, and the refusal of a module
# built from another version. Given the two cross-build trees
# (make-zip-test.sh WIN32-BUILD WIN64-BUILD), also packs their modules and
# checks that each one in the zip is stripped and a GUI-subsystem module.
# Exit 0 when every check holds.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
check() {
  if [ "$2" != "$3" ]; then
    echo "FAIL $1: expected '$3', got '$2'" >&2
    failures=$((failures + 1))
  else
    echo "ok   $1"
  fi
}

version=$(sed -n 's/^project(Corvelle VERSION \([0-9][0-9.]*\).*/\1/p' "$root/CMakeLists.txt")
for arch in win32 win64; do
  mkdir -p "$work/$arch/generated"
  printf '#define CORVELLE_VERSION_TEXT "%s"\n' "$version" >"$work/$arch/generated/Version.h"
done
printf 'module32' >"$work/win32/Corvelle.wlx"
printf 'module64' >"$work/win64/Corvelle.wlx64"

"$root/tools/make-zip.sh" "$work/win32" "$work/win64" "$work" >/dev/null
zip_file="$work/Corvelle-$version.zip"
check "zip named after the project version" "$(ls "$work"/*.zip)" "$zip_file"
check "members" "$(unzip -Z1 "$zip_file" | sort | tr '\n' ' ')" \
  "Corvelle.wlx Corvelle.wlx64 pluginst.inf readme.txt "
check "32-bit module packed unchanged" "$(unzip -p "$zip_file" Corvelle.wlx)" "module32"
check "64-bit module packed unchanged" "$(unzip -p "$zip_file" Corvelle.wlx64)" "module64"

inf=$(unzip -p "$zip_file" pluginst.inf | tr -d '\r')
key() { printf '%s\n' "$inf" | sed -n "s/^$1=//p"; }
check "inf section" "$(printf '%s\n' "$inf" | head -1)" "[plugininstall]"
check "inf type" "$(key type)" "wlx"
check "inf file" "$(key file)" "Corvelle.wlx"
check "inf defaultdir" "$(key defaultdir)" "Corvelle"
check "inf description names the version" \
  "$(key description | grep -c "Corvelle $version")" "1"
check "inf lines end in CR LF" "$(unzip -p "$zip_file" pluginst.inf | grep -vc $'\r$' || true)" "0"
check "readme tells how to install" \
  "$(unzip -p "$zip_file" readme.txt | grep -c "Open Corvelle-$version.zip in Total Commander")" "1"

printf '#define CORVELLE_VERSION_TEXT "0.0.1"\n' >"$work/win64/generated/Version.h"
rm -f "$zip_file"
if "$root/tools/make-zip.sh" "$work/win32" "$work/win64" "$work" >/dev/null 2>&1; then
  stale=packed
else
  stale=refused
fi
check "module of another version" "$stale" "refused"
check "no zip left behind" "$(ls "$work"/*.zip 2>/dev/null | wc -l)" "0"

if [ $# -eq 2 ] && [ -f "$1/Corvelle.wlx" ] && [ -f "$2/Corvelle.wlx64" ]; then
  mkdir "$work/built"
  if "$root/tools/make-zip.sh" "$1" "$2" "$work/built" >/dev/null; then
    for member in Corvelle.wlx:i686 Corvelle.wlx64:x86_64; do
      name=${member%%:*}
      objdump=${member##*:}-w64-mingw32-objdump
      unzip -p "$work/built/Corvelle-$version.zip" "$name" >"$work/built/$name"
      check "$name is a GUI-subsystem module" \
        "$("$objdump" -p "$work/built/$name" | awk '$1 == "Subsystem" {print $2}')" "00000002"
      check "$name is stripped" "$("$objdump" -h "$work/built/$name" | grep -c ' \.debug_' || true)" "0"
    done
  else
    check "the built modules are packed" "refused" "packed"
  fi
fi

[ "$failures" -eq 0 ]
