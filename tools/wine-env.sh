# Sourced by tools/wine-test.sh and tools/screenshot.sh: the environment every
# Wine run of a cross build shares, so that the tests and the pictures see one
# machine whatever this one has installed.
#
#   . tools/wine-env.sh <cross-build-dir>
#
# Wine draws with the faces fontconfig lists, and falls back from a face it
# lacks (Tahoma for the dialogs, Arial, Courier New) to whichever of them it
# finds first: with DejaVu alone a dialog unit is 7 x 13 pixels, with
# Liberation 6 x 12, so layouts and text widths changed with the fonts a
# machine happened to have. Fontconfig is given a list of its own: Wine's own
# fonts (Tahoma, MS Sans Serif, System: 6 x 13), Liberation and DejaVu, each
# from the package tools/setup.sh installs, and nothing else.
corvelle_wine_fonts=(/usr/share/wine/fonts /usr/share/fonts/truetype/liberation2 /usr/share/fonts/truetype/dejavu)
for folder in "${corvelle_wine_fonts[@]}"; do
  if [ ! -d "$folder" ]; then
    echo "wine-env: $folder is missing: install the fonts (tools/setup.sh)" >&2
    exit 1
  fi
done

export WINEPREFIX="$1/wineprefix"
export WINEARCH=win64
export WINEDEBUG=-all
# One locale everywhere: Wine takes the programs' code page, number and date
# formats from it, and writes them into the prefix it makes.
export LC_ALL=C.UTF-8 LANG=C.UTF-8
# No Mono or Gecko: their install dialogs would wait for a click forever.
export WINEDLLOVERRIDES="mscoree,mshtml="
export FONTCONFIG_FILE="$1/wine-fonts.conf"
{
  echo '<?xml version="1.0"?>'
  echo '<!DOCTYPE fontconfig SYSTEM "fonts.dtd">'
  echo '<fontconfig>'
  for folder in "${corvelle_wine_fonts[@]}"; do echo "  <dir>$folder</dir>"; done
  echo "  <cachedir>$1/fontconfig-cache</cachedir>"
  echo '</fontconfig>'
} >"$FONTCONFIG_FILE.$$"
mv -f "$FONTCONFIG_FILE.$$" "$FONTCONFIG_FILE"  # whole, for a run that reads it meanwhile
