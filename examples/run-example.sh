#!/usr/bin/env bash
# Runs a drawing as the host would: the example's JWC_TEMP.TXT, and its
# tesra.dat and tesra_figures.txt where it has them, are put beside a copy of
# tesra, tesra is started with the mode argument, and the file it wrote back
# is shown and rendered as SVG.
set -euo pipefail

usage() {
    cat >&2 <<'USAGE'
usage: examples/run-example.sh BUILD_DIR EXAMPLE_DIR MODE
  BUILD_DIR    the build folder holding tesra and tools/svg/tesra-svg
  EXAMPLE_DIR  a folder with JWC_TEMP.TXT and tesra.dat (examples/site-border, ...),
               and tesra_figures.txt where it draws own figures
  MODE         1  between the first two indicated points (tesra_2ten.bat)
               2  along the chain of indicated points (tesra_renzoku.bat)
               3  along the selected lines, arcs and circles (tesra_sentaku.bat)
               4  slope ticks from the top edge nearest point 1 to the toe (tesra_norimen.bat)
USAGE
    exit 2
}

[ $# -eq 3 ] || usage
case $3 in 1 | 2 | 3 | 4 | 5) ;; *) usage ;; esac
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
iconv -f CP932 -t UTF-8 "$out/JWC_TEMP.TXT" | sed -n 1,40p  # reads all: no SIGPIPE under pipefail
echo "... $(wc -l < "$out/JWC_TEMP.TXT") lines in all"
"$build/tools/svg/tesra-svg" "$out/JWC_TEMP.TXT" "$out/drawing.svg"
echo "== picture: $out/drawing.svg"
