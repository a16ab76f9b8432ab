#!/usr/bin/env bash
# Draws the About page's artwork with ImageMagick and writes it into res/:
#   Banner.bmp    bitmap 11003, 314 x 107, 256 colours, RLE8 compressed
#   LinkWeb.bmp   bitmap 155, 56 x 27, 16 colours: "http" over "Follow me"
#   LinkMail.bmp  bitmap 188, 56 x 27, 16 colours: an envelope over "Mail me"
# The version comes from the top-level CMakeLists.txt and the maker from
# res/Maker.h, so the banner never disagrees with the rest of the product.
# Run it again after either changes and commit the bitmaps it writes.
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
res="$root/res"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

version="$(sed -n 's/^project(Corvelle VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")"
maker="$(sed -n 's/^#define CORVELLE_MAKER_NAME *"\(.*\)"$/\1/p' "$res/Maker.h")"
if [ -z "$version" ] || [ -z "$maker" ]; then
  echo "make-artwork: cannot read the version or the maker's name" >&2
  exit 1
fi

sans=DejaVu-Sans
bold=DejaVu-Sans-Bold
condensed=DejaVu-Sans-Condensed

# The banner: a handheld showing a report, then the name, what it does,
# who makes it and the version, on a deep blue-to-teal ground.
convert -size 107x314 gradient:'#0a2342-#1b6f7f' -rotate -90 \
  -fill '#ffffff14' -draw 'circle 300,-60 120,40' \
  -fill '#ffffff0c' -draw 'circle 330,150 200,120' \
  \( -size 48x80 xc:none \
     -fill '#d9dee3' -stroke '#8a949c' -strokewidth 1 -draw 'roundrectangle 0,0 47,79 8,8' \
     -fill '#9fb58a' -stroke '#55624a' -draw 'rectangle 6,7 41,50' \
     -stroke none -fill '#3c4a34' \
     -draw 'rectangle 9,11 28,12' -draw 'rectangle 9,16 36,17' -draw 'rectangle 9,21 32,22' \
     -draw 'rectangle 9,26 37,27' -draw 'rectangle 9,31 24,32' -draw 'rectangle 9,36 34,37' \
     -draw 'rectangle 9,41 30,42' \
     -fill '#6f7a83' -draw 'circle 12,64 12,59' -draw 'circle 35,64 35,59' \
     -draw 'roundrectangle 19,60 28,68 3,3' \) \
  -geometry +14+14 -composite \
  -font "$bold" -pointsize 30 -fill '#00000060' -annotate +78+47 'Corvelle' \
  -fill white -annotate +76+45 'Corvelle' \
  -font "$condensed" -pointsize 10 -fill '#e4f1f4' \
  -annotate +77+65 'Palm OS database viewer for Total Commander' \
  -fill '#9fd3dc' -draw 'line 77,72 303,72' \
  -font "$sans" -pointsize 10 -fill '#cfe6ea' -annotate +77+89 "by $maker" \
  -gravity SouthEast -font "$bold" -pointsize 10 -fill '#ffd479' \
  -annotate +10+6 "Version $version" \
  "$work/banner.png"
convert "$work/banner.png" -dither None -colors 256 -type Palette -compress RLE \
  BMP3:"$res/Banner.bmp"

# Small buttons: drawn without antialiasing so that the 16-colour palette
# keeps the letters crisp.
button_ground=(-size 56x27 xc:'#f4f6f9')

convert "${button_ground[@]}" +antialias -font "$bold" -pointsize 12 \
  -fill '#1f5fd6' -annotate +10+12 'h' \
  -fill '#d83a2e' -annotate +18+12 't' \
  -fill '#1e9a3a' -annotate +25+12 't' \
  -fill '#e08a00' -annotate +32+12 'p' \
  -font "$sans" -pointsize 9 -fill '#1a1a80' -annotate +5+23 'Follow me' \
  -stroke '#1a1a80' -draw 'line 5,24 50,24' \
  "$work/web.png"
convert "$work/web.png" -dither None -colors 16 -type Palette BMP3:"$res/LinkWeb.bmp"

convert "${button_ground[@]}" +antialias \
  -fill '#fff6d8' -stroke '#8a6d1e' -draw 'rectangle 19,2 36,13' \
  -draw 'line 19,2 27,9' -draw 'line 36,2 28,9' \
  -draw 'line 19,13 25,8' -draw 'line 36,13 30,8' \
  -stroke '#c0392b' -fill '#c0392b' -draw 'rectangle 32,3 34,5' \
  -stroke none -font "$sans" -pointsize 9 -fill '#1a1a80' -annotate +9+23 'Mail me' \
  -stroke '#1a1a80' -draw 'line 9,24 45,24' \
  "$work/mail.png"
convert "$work/mail.png" -dither None -colors 16 -type Palette BMP3:"$res/LinkMail.bmp"

# The header must say what the resource compiler and the static control will
# find: size, depth and, for the banner, RLE8 (compression 1).
check() {
  local file="$1" width="$2" height="$3" bits="$4" compression="$5"
  local header
  header="$(od -An -t u4 -j 18 -N 8 "$file" | tr -s ' ')$(od -An -t u2 -j 28 -N 2 "$file")$(od -An -t u4 -j 30 -N 4 "$file")"
  read -r w h b c <<<"$header"
  if [ "$w $h $b $c" != "$width $height $bits $compression" ]; then
    echo "make-artwork: $file is ${w}x${h}, $b bits, compression $c" >&2
    exit 1
  fi
}
check "$res/Banner.bmp" 314 107 8 1
check "$res/LinkWeb.bmp" 56 27 4 0
check "$res/LinkMail.bmp" 56 27 4 0
echo "make-artwork: wrote Banner.bmp, LinkWeb.bmp, LinkMail.bmp (version $version, $maker)"
