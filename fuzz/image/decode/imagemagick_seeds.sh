#!/usr/bin/env bash
# Writes the seeds of fuzz_decode that ImageMagick makes: BMP of palette
# depths, run lengths and alpha masks, GIF, WebP. Small pictures, so that
# the fuzzer's mutations reach every part of them.
#   usage: fuzz/image/decode/imagemagick_seeds.sh <corpus directory>
set -euo pipefail
out=${1:?corpus directory}
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# 12 x 9 pixels of a gradient with a partly transparent band.
convert -size 12x9 gradient:red-blue \( -size 12x9 gradient:white-none \) \
  -compose CopyOpacity -composite "$tmp/in.png"
convert -size 12x9 gradient:red-blue "$tmp/opaque.png"

convert "$tmp/opaque.png" -colors 2 -type Palette -compress None BMP3:"$out/palette1.bmp"
convert "$tmp/opaque.png" -colors 16 -type Palette -compress None BMP3:"$out/palette4.bmp"
convert "$tmp/opaque.png" -colors 40 -type Palette -compress None BMP3:"$out/palette8.bmp"
convert "$tmp/opaque.png" -colors 40 -type Palette -compress RLE BMP3:"$out/palette8-rle.bmp"
convert "$tmp/opaque.png" -define bmp:subtype=RGB565 BMP:"$out/rgb565.bmp"
convert "$tmp/in.png" BMP:"$out/alpha-mask.bmp"
convert "$tmp/opaque.png" -colors 40 "$out/plain.gif"
convert "$tmp/in.png" -colors 40 -interlace GIF "$out/interlaced-transparent.gif"
convert "$tmp/opaque.png" -quality 50 "$out/lossy.webp"
convert "$tmp/in.png" -define webp:lossless=true "$out/lossless-alpha.webp"
convert "$tmp/in.png" -quality 50 "$out/lossy-alpha.webp"
