#!/usr/bin/env bash
# Runs a drawing as the host would: the example's JWC_TEMP.TXT, and its
# tesra.dat and tesra_figures.txt where it has them, are put beside a copy of
# tesra, tesra is started with the mode argument, and the file it wrote back
# is shown and rendered as SVG.
#   examples/run-example.sh BUILD_DIR EXAMPLE_DIR MODE
set -euo pipefail
build=$(realpath "$1")
example=$(realpath "$2")
mode=$3
out="$build/example-$(basename "$example")"
rm -rf "$out"
mkdir -p "$out"
cp "$build/tesra" "$example/JWC_TEMP.TXT" "$out/"
for f in tesra.dat tesra_figures.txt; do
  if [ -f "$example/$f" ]; then cp "$example/$f" "$out/"; fi
done
(cd / && "$out/tesra" "$mode")
echo "== $out/JWC_TEMP.TXT (CP932 shown as UTF-8)"
iconv -f CP932 -t UTF-8 "$out/JWC_TEMP.TXT" | head -n 40
echo "... $(wc -l < "$out/JWC_TEMP.TXT") lines in all"
"$build/tools/svg/tesra-svg" "$out/JWC_TEMP.TXT" "$out/drawing.svg"
echo "== picture: $out/drawing.svg"
