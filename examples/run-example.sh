#!/usr/bin/env bash
# Runs a drawing as the host would: the example's JWC_TEMP.TXT, and its
# tesra.dat and tesra_figures.txt where it has them, are put beside a copy of
# tesra, tesra is started with the mode argument, and what it wrote back is
# drawn as an SVG picture, with the points the run was given marked on it.
# Everything is checked before anything is made, so that a mistyped argument
# leaves no folder behind.
set -euo pipefail

usage() {
    cat >&2 <<'USAGE'
usage: examples/run-example.sh BUILD_DIR EXAMPLE_DIR MODE
  BUILD_DIR    the build folder holding tesra and tools/svg/tesra-svg
  EXAMPLE_DIR  a folder with JWC_TEMP.TXT, and tesra.dat and tesra_figures.txt where it
               has them: examples/site-border, examples/site-rounded, examples/slope-road,
               examples/own-figure, examples/own-figure/register
  MODE         what tesra is asked to do, as the host's batch file asks it:
               1  between the first two indicated points (tesra_2ten.bat);
                  needs hp1 and hp2
               2  along the chain of indicated points, closed when the last is the
                  first again (tesra_renzoku.bat); needs hp1, hp2, ...
                  (examples/site-border)
               3  along the selected lines, arcs and circles (tesra_sentaku.bat);
                  needs elements after the "#" line (examples/site-rounded,
                  examples/own-figure)
               4  slope ticks from the top edge nearest point 1 towards the toe
                  (tesra_norimen.bat); needs hp1 and the selected top edge and toe
                  (examples/slope-road)
               5  the selection becomes an own figure in the copy's tesra_figures.txt
                  (tesra_touroku.bat); needs selected elements
                  (examples/own-figure/register)
The run happens in BUILD_DIR/example-<name of EXAMPLE_DIR>; the example is not changed.
USAGE
    exit 2
}

fail() {
    echo "run-example: $*" >&2
    exit 1
}

[ $# -eq 3 ] || usage
case $3 in 1 | 2 | 3 | 4 | 5) ;; *) usage ;; esac
mode=$3
[ -d "$1" ] || fail "no build folder $1 (build first, as README.md shows)"
[ -d "$2" ] || fail "no example folder $2 (the examples are the folders under examples/)"
build=$(realpath "$1")
example=$(realpath "$2")
tesra="$build/tesra"
svg="$build/tools/svg/tesra-svg"
for exe in "$tesra" "$svg"; do
  [ -x "$exe" ] || fail "$exe is missing: cmake --build $1 --target tesra tesra-svg"
done
[ -f "$example/JWC_TEMP.TXT" ] || fail "$2 holds no JWC_TEMP.TXT, the file the host would write"
case $mode in
  1 | 2 | 4)
    grep -aq '^hp1' "$example/JWC_TEMP.TXT" ||
      echo "run-example: note: $2 has no indicated points (hp lines), which mode $mode needs" >&2 ;;
esac

out="$build/example-$(basename "$example")"
rm -rf "$out"
mkdir -p "$out"
cp "$tesra" "$example/JWC_TEMP.TXT" "$out/"
for f in tesra.dat tesra_figures.txt; do
  if [ -f "$example/$f" ]; then cp "$example/$f" "$out/"; fi
done

status=0
(cd / && "$out/tesra" "$mode") || status=$?
exchange="$out/JWC_TEMP.TXT"
if [ "$status" -ne 0 ]; then
  if [ ! -f "$exchange" ]; then
    fail "tesra $mode exited with status $status and removed $exchange: the host would draw nothing"
  fi
  fail "tesra $mode exited with status $status and left $exchange as the host wrote it" \
    "(the host would show 未実行)"
fi

echo "tesra $mode wrote $(wc -l < "$exchange") lines into $exchange"
# The host shows the run's error (he) or notice (h#) lines to the user. A
# byte iconv cannot convert, or no message at all, is no failure here.
messages=$(grep -a '^h[e#]' "$exchange" | iconv -c -f CP932 -t UTF-8 | tr -d '\r' || true)
if [ -n "$messages" ]; then sed 's/^h[e#]/  message: /' <<<"$messages"; fi
if [ "$mode" = 5 ]; then
  echo "  the own figures are now in $out/tesra_figures.txt"
fi
"$svg" --points "$example/JWC_TEMP.TXT" "$exchange" "$out/drawing.svg"
echo "picture: $out/drawing.svg"
if grep -aq '^hp' "$example/JWC_TEMP.TXT"; then
  echo "  open it with a web browser (or any SVG viewer); the ringed numbers are the indicated points"
else
  echo "  open it with a web browser (or any SVG viewer)"
fi
