#!/usr/bin/env bash
# Windows build checks under Wine, run after the Linux tests:
#   1. the cross build, its batch files and the zip;
#   2. headless: tesra.exe's drawing modes (1, 2, 3 along a selection and 4
#      between a top edge and a toe) on
#      the golden inputs give exactly the bytes of the Linux tesra, also from a
#      folder with a Japanese name;
#   3. under Xvfb: the settings dialog, driven by keyboard and mouse.
# Installs nothing. Usage:
#   tests/windows/run_wine_tests.sh LINUX_TESRA [WINDOWS_BUILD_DIR]
# LINUX_TESRA: the Linux build's tesra executable. WINDOWS_BUILD_DIR: where the
# cross build goes (default build-win); the dialog screenshots are saved there.
# While working on the dialog, TESRA_DIALOG_ONLY="scenario_x; scenario_y 150"
# runs only those scenarios and skips the package and headless checks.
# Prints one line per check and "N passed, M failed"; exits 1 on any failure.

set -u -o pipefail
HERE=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
REPO=$(cd "$HERE/../.." && pwd)
. "$HERE/wine_lib.sh"
# A scenario file that does not parse would leave its checks out unseen.
. "$HERE/dialog_scenarios.sh" || { echo "$HERE/dialog_scenarios.sh does not parse" >&2; exit 2; }

if [ $# -lt 1 ] || [ ! -x "$1" ]; then
    echo "usage: $0 LINUX_TESRA [WINDOWS_BUILD_DIR]  (LINUX_TESRA: an executable Linux tesra)" >&2
    exit 2
fi
LINUX_TESRA=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
BUILD=$(realpath -m "${2:-$REPO/build-win}")  # absolute: checks run from other folders
require_tools cmake ninja x86_64-w64-mingw32-g++-posix iconv wine wineserver winepath Xvfb \
    xdotool import localedef || exit 2

WORK=$(mktemp -d "${TMPDIR:-/tmp}/tesra-wine.XXXXXX")
trap cleanup EXIT

cross_build() {
    echo "== cross build in $BUILD"
    cmake -S "$REPO" -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_TOOLCHAIN_FILE="$REPO/cmake/mingw-w64-x86_64.cmake" >"$WORK/configure.log" 2>&1 &&
        cmake --build "$BUILD" --target tesra >"$WORK/build.log" 2>&1
    local rc=$?
    check "cross build of tesra.exe" [ "$rc" -eq 0 ] || { tail -30 "$WORK/configure.log" "$WORK/build.log"; return 1; }
    # The portable sources are held to warnings by the Linux build; here the
    # Windows-only ones are. Warnings elsewhere are shown, not counted.
    local warned
    warned=$(sed -n "s|^\($REPO/[^:]*\):[0-9]*:[0-9]*: warning:.*|\1|p" "$WORK/build.log" | sort -u)
    [ -z "$warned" ] || note "warnings from the cross compiler in: $(echo $warned)"
    check "no cross-compiler warnings in the Windows sources" \
        bash -c "! grep -Eq 'settings/win32/|settings/dialog/|app/main_win' <<<'$warned'"
    # Only Windows' own DLLs: nothing for the user to install beside the exe.
    local imports
    imports=$(x86_64-w64-mingw32-objdump -p "$BUILD/tesra.exe" | sed -n 's/^\s*DLL Name: //p' |
        tr 'A-Z' 'a-z' | sort | tr '\n' ' ')
    note "imports: $imports"
    check "tesra.exe imports no MinGW runtime DLL" bash -c "! grep -Eq 'libstdc|libgcc|winpthread' <<<'$imports'"
}

# bat_selects_every_kind FILE: the range-selection directives (#zw #h1 #g1
# and every #ht) are there; prints the file as UTF-8 without CR.
bat_selects_every_kind() {
    local text d
    text=$(iconv -f CP932 -t UTF-8 "$1" | tr -d '\r') || return 1
    for d in '#zw' '#h1' '#g1' '#ht1' '#ht2' '#ht3' '#ht4' '#ht10' '#ht20' '#ht30' '#ht40'; do
        grep -qx "REM $d" <<<"$text" || return 1
    done
    printf '%s\n' "$text"
}

# bat_is_host_format FILE ARGUMENT: CP932, CR LF on every line, the directives
# the host needs, and the program call with the mode's argument last.
bat_is_host_format() {
    local bat=$1 argument=$2 text
    iconv -f CP932 -t UTF-8 "$bat" >/dev/null 2>&1 || return 1
    [ "$(grep -c $'\r$' "$bat")" -eq "$(wc -l <"$bat")" ] || return 1
    text=$(iconv -f CP932 -t UTF-8 "$bat" | tr -d '\r')
    for directive in '@REM ' 'REM #jww' 'REM #cd' 'REM #bz' 'REM #e'; do
        grep -q "^$directive" <<<"$text" || return 1
    done
    [ "$(tail -n 1 <<<"$text")" = "tesra.exe${argument:+ $argument}" ]
}

# text_is_host_format FILE: CP932, CR LF on every line, no template variable left.
text_is_host_format() {
    iconv -f CP932 -t UTF-8 "$1" >/dev/null 2>&1 &&
        [ "$(grep -c $'\r$' "$1")" -eq "$(wc -l <"$1")" ] &&
        ! grep -q '@[A-Z_]*@' "$1"
}

package_checks() {
    echo "== batch files and zip"
    check "settings batch file: CP932, CR LF, directives, no argument" \
        bat_is_host_format "$BUILD/package/tesra_settei.bat" ""
    check "two-point batch file: CP932, CR LF, directives, argument 1, points #1 #2" \
        bash -c "$(declare -f bat_is_host_format); bat_is_host_format '$BUILD/package/tesra_2ten.bat' 1 &&
                 iconv -f CP932 -t UTF-8 '$BUILD/package/tesra_2ten.bat' | grep -q '^REM #2 '"
    check "chain batch file: CP932, CR LF, directives, argument 2, points #1 #99#" \
        bash -c "$(declare -f bat_is_host_format); bat_is_host_format '$BUILD/package/tesra_renzoku.bat' 2 &&
                 iconv -f CP932 -t UTF-8 '$BUILD/package/tesra_renzoku.bat' | grep -q '^REM #99#'"
    local sel="$(declare -f bat_is_host_format bat_selects_every_kind)"
    check "selection batch file: CP932, CR LF, directives, argument 3, #zw #h1 #hc #g1 and every #ht" \
        bash -c "$sel; bat_is_host_format '$BUILD/package/tesra_sentaku.bat' 3 &&
                 text=\$(bat_selects_every_kind '$BUILD/package/tesra_sentaku.bat') &&
                 grep -A1 -x 'REM #h1' <<<\"\$text\" | grep -q '^REM #hc .'"
    check "slope batch file: CP932, CR LF, directives, argument 4, point #1 before #h1 #hc, #zw #g1 and every #ht" \
        bash -c "$sel; bat_is_host_format '$BUILD/package/tesra_norimen.bat' 4 &&
                 text=\$(bat_selects_every_kind '$BUILD/package/tesra_norimen.bat') &&
                 grep -B1 -x 'REM #h1' <<<\"\$text\" | grep -q '^REM #1 .' &&
                 grep -A1 -x 'REM #h1' <<<\"\$text\" | grep -q '^REM #hc .'"
    check "registering batch file: CP932, CR LF, directives, argument 5, #zw #h1 #hc #g1, no #ht" \
        bash -c "$(declare -f bat_is_host_format); bat_is_host_format '$BUILD/package/tesra_touroku.bat' 5 &&
                 text=\$(iconv -f CP932 -t UTF-8 '$BUILD/package/tesra_touroku.bat' | tr -d '\r') &&
                 for d in '#zw' '#h1' '#g1'; do grep -qx \"REM \$d\" <<<\"\$text\" || exit 1; done &&
                 ! grep -q '^REM #ht' <<<\"\$text\" &&
                 grep -A1 -x 'REM #h1' <<<\"\$text\" | grep -q '^REM #hc .'"
    check "read-me: CP932, CR LF on every line, the version filled in" \
        text_is_host_format "$BUILD/package/readme.txt"
    check "symbols: CP932, CR LF on every line, the symbol file's header" \
        bash -c "$(declare -f text_is_host_format); text_is_host_format '$BUILD/package/tesra_symbols.txt' &&
                 head -c 17 '$BUILD/package/tesra_symbols.txt' | grep -q '^tesra-symbols 1'"
    (cd "$BUILD" && cpack -G ZIP >"$WORK/cpack.log" 2>&1)
    local zip="$BUILD/tesra-$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$BUILD/CMakeCache.txt")-win64.zip"
    local listing folders
    listing=$(cd "$WORK" && cmake -E tar tf "$zip" 2>/dev/null | sed 's|^[^/]*/||' | sort | tr '\n' ' ')
    # The read-me tells the user which folder extracting the zip makes.
    folders=$(cd "$WORK" && cmake -E tar tf "$zip" 2>/dev/null | sed 's|/.*||' | sort -u | tr '\n' ' ')
    check "zip nests everything in $(basename "$zip" .zip)/, the folder the read-me names" \
        [ "$folders" = "$(basename "$zip" .zip) " ]
    note "zip: $(basename "$zip"): $listing"
    check "zip holds tesra.exe, the six batch files, the symbols and the read-me" \
        [ "$listing" = "readme.txt tesra.exe tesra_2ten.bat tesra_norimen.bat tesra_renzoku.bat tesra_sentaku.bat tesra_settei.bat tesra_symbols.txt tesra_touroku.bat " ]
}

# run_case CASE DIR_NAME LOCALE: one golden case under Wine and under Linux.
run_case() {
    local case=$1 dirname=$2 locale=$3 args
    args=$(tr -d '\r\n' <"$case/args")
    local win="$WORK/win/$locale/$dirname/$(basename "$case")" linux="$WORK/linux/$(basename "$case")"
    mkdir -p "$win" "$linux"
    for f in JWC_TEMP.TXT tesra.dat tesra_figures.txt; do
        [ -f "$case/$f" ] && cp "$case/$f" "$win/" && cp "$case/$f" "$linux/"
    done
    cp "$BUILD/tesra.exe" "$win/"
    cp "$LINUX_TESRA" "$linux/tesra"
    (cd / && timeout 30 "$linux/tesra" $args >/dev/null 2>&1)
    local linux_rc=$?
    local locpath=()
    [ "$locale" = C.UTF-8 ] || locpath=(LOCPATH="$WORK/locale")
    (cd / && env -u DISPLAY LANG="$locale" "${locpath[@]}" timeout 30 \
        wine "$win/tesra.exe" $args >/dev/null 2>"$win.stderr" </dev/null)
    local win_rc=$?
    local what="$(basename "$case") (mode $args, $locale, folder \"$dirname\")"
    check "$what: exit status $win_rc equals Linux $linux_rc" [ "$win_rc" -eq "$linux_rc" ]
    check "$what: JWC_TEMP.TXT identical to Linux" same_bytes "$win/JWC_TEMP.TXT" "$linux/JWC_TEMP.TXT"
    if [ -f "$linux/tesra_figures.txt" ]; then
        check "$what: figure library identical to Linux" same_bytes "$win/tesra_figures.txt" "$linux/tesra_figures.txt"
    fi
    if [ -f "$case/tesra.dat" ]; then
        check "$what: store file untouched" same_bytes "$win/tesra.dat" "$case/tesra.dat"
    fi
    rm -rf "$linux"
}

headless_checks() {
    echo "== drawing modes, headless"
    local golden="$REPO/tests/app/golden" cases=()
    [ -d "$golden" ] || golden="$HERE/inputs"
    for c in "$golden"/*/; do [ -f "$c/args" ] && cases+=("${c%/}"); done
    check "golden inputs found in $golden" [ "${#cases[@]}" -gt 0 ]
    for locale in C.UTF-8 ja_JP.UTF-8; do
        for dirname in plain "作図 テスト"; do
            for c in "${cases[@]}"; do run_case "$c" "$dirname" "$locale"; done
        done
    done
    env -u DISPLAY timeout 60 wineserver -w
}

cross_build || { echo "$PASSED passed, $FAILED failed"; exit 1; }
[ -n "${TESRA_DIALOG_ONLY:-}" ] || package_checks
check "private ja_JP.UTF-8 locale" make_locale
if ! check "fresh Wine prefix with fonts and registry" make_prefix; then
    echo "$PASSED passed, $FAILED failed"
    exit 1
fi
[ -n "${TESRA_DIALOG_ONLY:-}" ] || headless_checks
if check "Xvfb and a Wine server" start_x; then
    dialog_checks
fi
echo "$PASSED passed, $FAILED failed"
[ "$FAILED" -eq 0 ]
