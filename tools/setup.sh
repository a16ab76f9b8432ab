#!/usr/bin/env bash
# Installs everything Corvelle needs to build and test on Debian 12: the native
# toolchain, zlib and libpng, the mingw-w64 cross compilers, Wine (32- and 64-bit) with Xvfb, and
# the Perl Palm modules some tests and benchmarks use, the vCard, iCalendar and
# date-rule parsers the export checks read with, and Qt 5 with Double Commander
# and xdotool for the Linux plug-in and its tests in the real file manager.
# Safe to run again: it only asks apt for what is missing.
set -euo pipefail

packages=(
  cmake g++ make pkg-config
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  clang libclang-rt-14-dev libfuzzer-14-dev
  mingw-w64 zlib1g-dev libz-mingw-w64-dev libpng-dev
  wine wine64 wine32:i386 xvfb xauth
  # The fonts the Wine tests draw and measure with, and nothing else
  # (tools/wine-env.sh): Wine's own (Tahoma and MS Sans Serif for the dialogs,
  # System), Liberation (in place of Arial, Times New Roman and Courier New) and
  # DejaVu (Greek and Cyrillic). fonts-wine and Liberation are only recommended
  # by Wine, which setup does not take.
  fonts-wine fonts-liberation2 fonts-dejavu-core
  libpalm-perl libpalm-pdb-perl txt2pdbdoc libmobi-tools
  python3-vobject python3-icalendar python3-dateutil
  imagemagick netpbm zip unzip python3 bsdextrautils
  # The Linux plug-in is built against Qt 5 (the Qt that Double Commander's
  # Qt build loads) and tested inside Double Commander under Xvfb, driven by
  # xdotool, the viewer's copies read back by xclip.
  qtbase5-dev doublecmd-qt xdotool xclip
)

sudo_if_needed() { if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi; }

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

if [ ${#missing[@]} -eq 0 ]; then
  echo "setup: all packages present"
  exit 0
fi

echo "setup: installing ${missing[*]}"
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  sudo_if_needed dpkg --add-architecture i386
fi
export DEBIAN_FRONTEND=noninteractive
sudo_if_needed apt-get update -qq
sudo_if_needed apt-get install -y -qq --no-install-recommends "${missing[@]}"
