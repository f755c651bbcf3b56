# The settings dialog under Xvfb, driven as a user would: keys through
# xdotool, a mouse click on a row selector. Sourced by run_wine_tests.sh;
# needs $WORK, $BUILD, $REPO and a running X server with a Wine server.

# The client area at 96 dpi: the form's 783 × 309, the preview band below it
# and the settings area below the band.
CLIENT_W=783
CLIENT_H=537

# The five header lines and the first rows as given (nine lines each), then
# default rows up to the twelfth; CR LF each.
store_file() {
    local row
    printf '%s\r\n' "$@"
    for ((row = ($# - 5) / 9 + 1; row <= 12; row++)); do
        printf '%s\r\n' 0 10 10 0 0 1 0 0 0
    done
}

# start_dialog: runs tesra.exe without argument and waits for its window;
# sets WID, DIALOG_PID and the client origin CX0, CY0.
start_dialog() {
    (cd / && exec wine "$GUI_DIR/tesra.exe" >/dev/null 2>>"$WORK/dialog.stderr" </dev/null) &
    DIALOG_PID=$!
    WID=$(timeout 30 xdotool search --sync --onlyvisible --name '^Tesra' 2>/dev/null | head -1)
    [ -n "$WID" ] || return 1
    local X Y WIDTH HEIGHT SCREEN WINDOW
    eval "$(xdotool getwindowgeometry --shell "$WID")"
    DIALOG_WIDTH=$WIDTH DIALOG_HEIGHT=$HEIGHT
    # Wine draws the frame itself (Managed=N): equal borders, caption on top.
    local border=$(((WIDTH - CLIENT_W * ${DPI:-96} / 96) / 2))
    CX0=$((X + border)) CY0=$((Y + HEIGHT - CLIENT_H * ${DPI:-96} / 96 - border))
    xdotool mousemove 0 0
    xdotool windowfocus --sync "$WID" 2>/dev/null
    settle
}

# No fixed waits: a step waits for what it needs, a window or pixels.
# settle: until the screen stops changing (three equal shots in a row, at
# most 60 shots): the windows have drawn what the last key or click did.
settle() {
    local last="" now i same=0
    for ((i = 0; i < 60 && same < 2; i++)); do
        now=$(import -window root rgb:- 2>/dev/null | md5sum)
        if [ "$now" = "$last" ]; then same=$((same + 1)); else same=0; fi
        last=$now
    done
    return 0
}

# band_changes BEFORE: until the band's pixels differ from the checksum
# BEFORE, at most 5 s; prints the last checksum.
band_changes() {
    local i now
    for ((i = 0; i < 50; i++)); do
        now=$(band_pixels "$WORK/band-now.png")
        [ "$now" != "$1" ] && break
        sleep 0.1
    done
    echo "$now"
}

# region_changes X Y W H BEFORE: until the client region's pixels (96-dpi
# coordinates) differ from the checksum BEFORE, at most 5 s; false if never.
region_changes() {
    local i
    for ((i = 0; i < 50; i++)); do
        [ "$(client_pixels "$WORK/region.png" "$1" "$2" "$3" "$4")" != "$5" ] && return 0
        sleep 0.1
    done
    return 1
}

# window_named PATTERN: the id of a visible window whose name matches, once
# it shows (at most 15 s); nothing if it never does.
window_named() {
    timeout 15 xdotool search --sync --onlyvisible --name "$1" 2>/dev/null | head -1
}

# window_gone ID: until the window is no longer shown, at most 10 s.
window_gone() {
    local i
    for ((i = 0; i < 100; i++)); do
        xdotool search --onlyvisible --name . 2>/dev/null | grep -qx "$1" || return 0
        sleep 0.1
    done
    return 1
}

# click_client X Y: a click at client coordinates of the form (96 dpi).
click_client() {
    xdotool mousemove --sync $((CX0 + $1)) $((CY0 + $2)) click 1
    settle
    xdotool mousemove 0 0
}

window_fits_client() {
    ((DIALOG_WIDTH >= CLIENT_W && DIALOG_WIDTH <= CLIENT_W + 20 &&
        DIALOG_HEIGHT >= CLIENT_H && DIALOG_HEIGHT <= CLIENT_H + 41))
}

window_fits_scaled_client() {
    local w=$((CLIENT_W * DPI / 96)) h=$((CLIENT_H * DPI / 96))
    ((DIALOG_WIDTH >= w && DIALOG_WIDTH <= w + 30 && DIALOG_HEIGHT >= h && DIALOG_HEIGHT <= h + 60))
}

keys() { xdotool key --delay 40 "$@"; }
typed() { xdotool type --delay 40 "$1"; }

# finish_dialog WHAT: the dialog must end by itself with status 0 within 30 s.
finish_dialog() {
    wait_or_kill "$DIALOG_PID" 30
    local rc=$?
    check "$1: tesra.exe closed with status 0 (got $rc)" [ "$rc" -eq 0 ]
}

# The edit of the first scenario: tick the check box (two shift+Tabs back
# from row 1's selector, the color swatch being last in the tab order), then
# row 1 field by field.
edit_row_one() {
    keys shift+Tab shift+Tab space Tab Tab Tab Down Down Down Tab
    typed 0
    keys Tab
    typed 2.50
    keys Tab Down Tab
    typed abc
    keys Tab Up Tab Down Down Tab Tab Down
}

scenario_defaults() {
    rm -f "$GUI_DIR/tesra.dat"
    if ! check "no store file: the form opens" start_dialog; then return; fi
    check "caption is \"Tesra　設定\"" [ "$(xdotool getwindowname "$WID")" = "Tesra　設定" ]
    check "window is the 783 × 309 form, the preview band and the settings area plus a frame (${DIALOG_WIDTH} × ${DIALOG_HEIGHT})" \
        window_fits_client
    import -window root "$BUILD/dialog-defaults.png"
    keys Return
    finish_dialog "no store file, Enter"
    store_file 0 0 0 0 1 >"$WORK/expected-defaults.dat"
    check "no store file, Enter: tesra.dat holds the defaults" \
        same_bytes "$GUI_DIR/tesra.dat" "$WORK/expected-defaults.dat"
}

scenario_edit_ok() {
    rm -f "$GUI_DIR/tesra.dat"
    if ! check "edit then OK: the form opens" start_dialog; then return; fi
    edit_row_one
    click_client 14 76  # RadioButton3
    import -window root "$BUILD/dialog-edited.png"
    click_client 692 252  # Button1
    finish_dialog "edit then OK"
    # Width typed 0 -> 1, height 2.50 -> 2.5, interval abc -> 0, row 3 in use.
    store_file 0 0 1 0 3 3 1 2.5 1 0 0 2 0 1 >"$WORK/expected-edited.dat"
    check "edit then OK: tesra.dat holds the edits, checked as the store requires" \
        same_bytes "$GUI_DIR/tesra.dat" "$WORK/expected-edited.dat"
}

# scenario_discard HOW COMMAND...: edits, then a way of leaving that saves nothing.
scenario_discard() {
    local how=$1
    shift
    cp "$GUI_DIR/tesra.dat" "$WORK/before.dat"
    if ! check "$how: the form opens" start_dialog; then return; fi
    keys space Tab Down Tab
    typed 55
    click_client 14 172  # RadioButton7
    "$@"
    finish_dialog "edits then $how"
    check "edits then $how: tesra.dat unchanged" same_bytes "$GUI_DIR/tesra.dat" "$WORK/before.dat"
}

scenario_reopen() {
    if ! check "next start: the form opens" start_dialog; then return; fi
    import -window root "$BUILD/dialog-saved.png"
    keys Return
    finish_dialog "next start, Enter"
    check "next start shows the saved values: Enter saves them unchanged" \
        same_bytes "$GUI_DIR/tesra.dat" "$WORK/expected-edited.dat"
}

# choose_red: clicks the swatch and, in the color chooser, the pure red of the
# basic colors (second row, first cell), then the chooser's OK.
choose_red() {
    click_client 742 216  # Label2
    local chooser X Y WIDTH HEIGHT SCREEN WINDOW
    chooser=$(window_named '^色$')
    [ -n "$chooser" ] || return 1
    eval "$(xdotool getwindowgeometry --shell "$chooser")"
    xdotool mousemove --sync $((X + 21)) $((Y + 74)) click 1
    settle
    keys Return
    window_gone "$chooser"
}

# scenario_color HOW KEY EXPECTED: red chosen, then the form left by KEY
# (the swatch keeps the focus and takes Enter itself: OK is Alt+Y).
scenario_color() {
    cp "$GUI_DIR/tesra.dat" "$WORK/before.dat"
    if ! check "color then $1: the form opens" start_dialog; then return; fi
    check "color then $1: the chooser opens from the swatch and closes" choose_red
    import -window root "$BUILD/dialog-color.png"
    keys "$2"
    finish_dialog "color then $1"
    check "color then $1: $4" same_bytes "$GUI_DIR/tesra.dat" "$3"
}

# A store whose rows 1, 3 and 5 draw different figures, guide lines and
# placements; row 5 is in use, with the solid color on (red).
preview_store() {
    store_file 0 0 1 255 5 47 10 8 0 4 1 1 0 2 0 10 10 0 0 1 0 0 0 79 12 6 0 3 0 2 0 2 \
        0 10 10 0 0 1 0 0 0 101 10 6 0 2 1 0 2 0
}

# window_shot FILE: the screen where the form stands, with any list it has
# open (a separate window, which a shot of the form's window alone leaves black).
window_shot() {
    local X Y WIDTH HEIGHT SCREEN WINDOW
    eval "$(xdotool getwindowgeometry --shell "$WID")"
    import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$1"
}

# band_pixels FILE: a checksum of the preview band's pixels on the screen.
band_pixels() {
    local s=$((${DPI:-96}))
    import -window root -crop "$((767 * s / 96))x$((92 * s / 96))+$((CX0 + 8 * s / 96))+$((CY0 + 309 * s / 96))" \
        +repage "$1"
    md5sum <"$1" | cut -d' ' -f1
}

# use_scaling PERCENT: the scaling the next forms open at (DPI follows it).
use_scaling() {
    DPI=$((96 * $1 / 100))
    set_dpi "$DPI"
}

set_dpi() {
    printf 'Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\Control Panel\\Desktop]\r\n"LogPixels"=dword:%08x\r\n' \
        "$1" >"$WORK/dpi.reg"
    timeout 30 wine reg import "$(winepath -w "$WORK/dpi.reg")" >/dev/null 2>&1 </dev/null
}

# The preview band follows the row in use, a clicked selector and a typed
# width; Escape still saves nothing. Screenshots of three rows, one at 150 %.
scenario_preview() {
    preview_store >"$GUI_DIR/tesra.dat"
    cp "$GUI_DIR/tesra.dat" "$WORK/before.dat"
    if ! check "preview: the form opens" start_dialog; then return; fi
    window_shot "$BUILD/dialog-preview-row5.png"
    local row5 row1 edited
    row5=$(band_pixels "$WORK/band-row5.png")
    click_client 14 28  # RadioButton1
    window_shot "$BUILD/dialog-preview-row1.png"
    row1=$(band_pixels "$WORK/band-row1.png")
    check "preview: clicking row 1's selector changes the band" [ "$row1" != "$row5" ]
    keys Tab alt+Down  # row 1's figure list, open: a picture beside every name
    settle
    window_shot "$BUILD/dialog-figure-list.png"
    keys alt+Up
    click_client 140 26  # EditW1
    keys End BackSpace BackSpace
    typed 4
    settle
    edited=$(band_pixels "$WORK/band-edited.png")
    check "preview: typing a width changes the band's pixels" [ "$edited" != "$row1" ]
    keys Escape
    finish_dialog "preview, edit then Escape"
    check "preview, edit then Escape: tesra.dat unchanged" same_bytes "$GUI_DIR/tesra.dat" "$WORK/before.dat"

    use_scaling 150
    if check "preview at 150 %: the form opens" start_dialog; then
        check "preview at 150 %: the window is 1.5 times as large (${DIALOG_WIDTH} × ${DIALOG_HEIGHT})" \
            window_fits_scaled_client
        click_client $((14 * 3 / 2)) $((76 * 3 / 2))  # RadioButton3
        window_shot "$BUILD/dialog-preview-row3-150.png"
        keys Escape
        finish_dialog "preview at 150 %, Escape"
    fi
    use_scaling 100
    check "preview at 150 %: tesra.dat unchanged" same_bytes "$GUI_DIR/tesra.dat" "$WORK/before.dat"
}

# The settings area edits the row the band shows: an arrangement picked and a
# pitch typed for row 5 (in use); OK keeps the 113 lines as they were and adds
# the two settings after them.
scenario_area() {
    preview_store >"$GUI_DIR/tesra.dat"
    if ! check "settings area: the form opens" start_dialog; then return; fi
    click_client 100 423  # ComboBoxArrange, which opens its list
    keys Down Return
    click_client 222 447  # EditPitch
    keys End BackSpace
    typed 1.5
    settle
    window_shot "$BUILD/dialog-area.png"
    click_client 692 252  # Button1
    finish_dialog "settings area, edit then OK"
    { preview_store; printf '%s\r\n' '[extension]' row5.arrangement=1 row5.pitch=1.5; } >"$WORK/expected-area.dat"
    check "settings area, edit then OK: row 5's settings follow the 113 lines" \
        same_bytes "$GUI_DIR/tesra.dat" "$WORK/expected-area.dat"
}

# client_pixels FILE X Y W H: a checksum of a part of the client area (96-dpi
# coordinates, scaled by DPI).
client_pixels() {
    local s=$((${DPI:-96}))
    import -window root -crop "$(($4 * s / 96))x$(($5 * s / 96))+$((CX0 + $2 * s / 96))+$((CY0 + $3 * s / 96))" \
        +repage "$1"
    md5sum <"$1" | cut -d' ' -f1
}

# Row 1 draws a figure with a long name and numbers of eight digits and more;
# row 12 is in use.
long_values_store() {
    printf '%s\r\n' 0 0 0 255 12
    printf '%s\r\n' 83 12345678 1000000000 0 0.0000015 1 2 0 2
    local row
    for ((row = 2; row <= 12; row++)); do printf '%s\r\n' 40 5 2 0 3 1 0 0 0; done
}

# scenario_long_values PERCENT: the form at a scaling with a long figure name,
# eight-digit numbers and the help text scrolled to its longest lines; the
# selector's focus cue and the band's caption checked by their pixels.
scenario_long_values() {
    local percent=$1
    use_scaling "$percent"
    long_values_store >"$GUI_DIR/tesra.dat"
    cp "$GUI_DIR/tesra.dat" "$WORK/before.dat"
    if check "long values at $percent %: the form opens" start_dialog; then
        local focused unfocused band12 band1 tipless tipped
        # Resting the pointer on row 1's figure box brings up the whole name
        # below it.
        tipless=$(client_pixels "$WORK/tipless.png" 32 38 240 48)
        xdotool mousemove --sync $((CX0 + 70 * DPI / 96)) $((CY0 + 26 * DPI / 96))
        region_changes 32 38 240 48 "$tipless" && settle
        tipped=$(client_pixels "$WORK/tipped.png" 32 38 240 48)
        window_shot "$BUILD/dialog-figure-tip-$percent.png"
        xdotool mousemove 0 0
        region_changes 32 38 240 48 "$tipped"
        check "long values at $percent %: a tip shows over the figure box" [ "$tipless" != "$tipped" ]
        focused=$(client_pixels "$WORK/selector-focused.png" 6 282 29 21)
        band12=$(band_pixels "$WORK/band-row12.png")
        click_client $((140 * DPI / 96)) $((26 * DPI / 96))  # EditW1: the focus leaves row 12's selector
        band1=$(band_changes "$band12")
        unfocused=$(client_pixels "$WORK/selector-unfocused.png" 6 282 29 21)
        check "long values at $percent %: the focused selector shows a focus cue" [ "$focused" != "$unfocused" ]
        check "long values at $percent %: the band shows row 1 once its width is edited" [ "$band1" != "$band12" ]
        # The help text at its longest lines (12 full-width characters).
        click_client $((660 * DPI / 96)) $((100 * DPI / 96))
        keys ctrl+Home $(printf 'Down %.0s' $(seq 40))
        settle
        window_shot "$BUILD/dialog-long-values-$percent.png"
        keys Escape
        finish_dialog "long values at $percent %, Escape"
        check "long values at $percent %: tesra.dat unchanged" same_bytes "$GUI_DIR/tesra.dat" "$WORK/before.dat"
    fi
    use_scaling 100
}

# A figure library beside the exe: figure 107 (a cross, named in CP932), a
# damaged entry 108 and no 109 any more; rows 1 (in use) and 2 draw 107 and 109.
own_library() {
    printf '%s\r\n' 'tesra-figures 1' 'next 110' 'figure 107 4 2 樹木' 'l 1 0 0 4 2' 'l 1 0 2 4 0' end \
        'figure 108 x 2 壊れ' end | iconv -f UTF-8 -t CP932
}
own_store() { store_file 0 0 0 255 1 107 10 5 0 0 1 0 0 0 109 10 10 0 0 1 0 0 0; }

# The figure lists end with the library's figures; a row whose figure was
# deleted keeps its number through OK; the band draws the own figure.
scenario_own_figures() {
    own_library >"$GUI_DIR/tesra_figures.txt"
    cp "$GUI_DIR/tesra_figures.txt" "$WORK/library-before.txt"
    own_store >"$GUI_DIR/tesra.dat"
    cp "$GUI_DIR/tesra.dat" "$WORK/before.dat"
    local own fallback
    if check "own figures: the form opens" start_dialog; then
        own=$(band_pixels "$WORK/band-own.png")
        keys Tab End alt+Down  # row 1's figure list, open at its last item
        settle
        window_shot "$BUILD/dialog-own-figures.png"
        keys Return
        keys Return
        finish_dialog "own figures, OK"
        check "own figures, OK: row 1's own figure and row 2's deleted one keep their numbers" \
            same_bytes "$GUI_DIR/tesra.dat" "$WORK/before.dat"
        check "own figures: the dialog leaves the library as it was" \
            same_bytes "$GUI_DIR/tesra_figures.txt" "$WORK/library-before.txt"
    fi
    rm -f "$GUI_DIR/tesra_figures.txt"
    if check "own figures, no library: the form opens" start_dialog; then
        fallback=$(band_pixels "$WORK/band-fallback.png")
        keys Escape
        finish_dialog "own figures, no library, Escape"
        check "own figures: the band draws the library's figure" [ "$own" != "$fallback" ]
    fi
}

# Two own figures; row 1 (in use) draws the first, 107.
grid_library() {
    printf '%s\r\n' 'tesra-figures 1' 'next 109' 'figure 107 4 2 樹木' 'l 1 0 0 4 2' 'l 1 0 2 4 0' end \
        'figure 108 4 2 柵' 'l 1 0 0 0 2' 'l 1 4 0 4 2' 'l 1 0 1 4 1' end | iconv -f UTF-8 -t CP932
}
grid_store() { store_file 0 0 0 255 1 "$1" 10 5 0 0 1 0 0 0; }

# scenario_figure_grid PERCENT: row 1's figure box opens the chooser (Alt+Down)
# at its own figure; Home, Down and Right walk to the second figure of the
# slashes and chevrons, Enter chooses it and OK stores it.
scenario_figure_grid() {
    local percent=$1
    use_scaling "$percent"
    grid_library >"$GUI_DIR/tesra_figures.txt"
    cp "$GUI_DIR/tesra_figures.txt" "$WORK/library-before.txt"
    grid_store 107 >"$GUI_DIR/tesra.dat"
    if check "figure grid at $percent %: the form opens" start_dialog; then
        local closed opened
        closed=$(client_pixels "$WORK/grid-closed.png" 34 40 300 200)
        keys Tab alt+Down
        region_changes 34 40 300 200 "$closed" && settle
        opened=$(client_pixels "$WORK/grid-opened.png" 34 40 300 200)
        check "figure grid at $percent %: the chooser opens below the figure box" [ "$closed" != "$opened" ]
        window_shot "$BUILD/dialog-figure-grid-$percent.png"
        import -window root "$BUILD/dialog-figure-grid-screen-$percent.png"
        keys Home Down Right Return
        settle
        keys Return
        finish_dialog "figure grid at $percent %, choose then OK"
        grid_store 11 >"$WORK/expected-grid.dat"
        check "figure grid at $percent %: row 1 draws the figure chosen by keys (11)" \
            same_bytes "$GUI_DIR/tesra.dat" "$WORK/expected-grid.dat"
        check "figure grid at $percent %: the library is as it was" \
            same_bytes "$GUI_DIR/tesra_figures.txt" "$WORK/library-before.txt"
    fi
    use_scaling 100
}

# Own figures renamed and deleted in the chooser: 107 renamed with F2, 108
# (no row draws it) deleted without a question; OK saves the library.
# Then 107, which row 1 draws, deleted after the question is answered yes:
# the row keeps its number.
scenario_grid_rename_delete() {
    grid_library >"$GUI_DIR/tesra_figures.txt"
    grid_store 107 >"$GUI_DIR/tesra.dat"
    cp "$GUI_DIR/tesra.dat" "$WORK/before.dat"
    if check "rename and delete: the form opens" start_dialog; then
        keys Tab alt+Down F2 ctrl+a
        typed tree
        settle
        import -window root "$BUILD/dialog-figure-grid-rename.png"  # the chooser reaches below the form
        keys Return
        settle
        keys Right Delete
        settle
        keys Escape
        settle
        keys Return
        finish_dialog "rename and delete, OK"
        printf '%s\r\n' 'tesra-figures 1' 'next 109' 'figure 107 4 2 tree' 'l 1 0 0 4 2' 'l 1 0 2 4 0' end \
            >"$WORK/expected-library.txt"
        check "rename and delete, OK: the library holds 107 renamed, 108 is gone, numbers go on from 109" \
            same_bytes "$GUI_DIR/tesra_figures.txt" "$WORK/expected-library.txt"
        check "rename and delete, OK: tesra.dat unchanged" same_bytes "$GUI_DIR/tesra.dat" "$WORK/before.dat"
    fi
    if check "delete a figure in use: the form opens" start_dialog; then
        keys Tab alt+Down Delete
        # The question is a second window with the form's caption.
        local question="" tries
        for ((tries = 0; tries < 60; tries++)); do
            [ -z "$question" ] || break
            sleep 0.25
            question=$(xdotool search --onlyvisible --name '^Tesra　設定$' 2>/dev/null | grep -v "^$WID\$" | head -1)
        done
        check "delete a figure in use: a question comes first" [ -n "$question" ]
        settle
        import -window root "$BUILD/dialog-figure-grid-delete-question.png"
        keys Tab Return
        window_gone "$question"
        settle
        keys Escape
        settle
        window_shot "$BUILD/dialog-figure-grid-deleted.png"
        keys Return
        finish_dialog "delete a figure in use, OK"
        printf '%s\r\n' 'tesra-figures 1' 'next 109' >"$WORK/expected-library.txt"
        check "delete a figure in use, yes and OK: the library no longer has 107" \
            same_bytes "$GUI_DIR/tesra_figures.txt" "$WORK/expected-library.txt"
        check "delete a figure in use, OK: row 1 keeps 107" same_bytes "$GUI_DIR/tesra.dat" "$WORK/before.dat"
    fi
}

# Two symbols: a boundary whose upper line has a pen of its own (線色8,
# 一点鎖1), and a fence of circles in 線色3 over a dotted lower line.
symbol_file() {
    printf '%s\r\n' 'tesra-symbols 1' 'symbol 境界' 'row 0 10 10 0 0 1 1 0 0' upper_color=8 upper_linetype=5 end \
        'symbol 柵' 'row 49 3 2 0 1 1 1 0 1' figure_color=3 lower_linetype=2 end | iconv -f UTF-8 -t CP932
}

# other_window: a visible window with the form's caption that is not the
# form (a question, a message, the name prompt), once it shows (at most 15 s).
other_window() {
    local found="" tries
    for ((tries = 0; tries < 60; tries++)); do
        found=$(xdotool search --onlyvisible --name '^Tesra　設定$' 2>/dev/null | grep -v "^$WID\$" | head -1)
        [ -n "$found" ] && break
        sleep 0.25
    done
    echo "$found"
}

# scenario_symbol_grid PERCENT: 「記号から…」 (Alt+O) opens the symbol chooser
# over the symbols the package ships; End and Enter choose the last, the
# fence (柵（例）), which fills row 1 and its pen; OK stores it.
scenario_symbol_grid() {
    local percent=$1
    use_scaling "$percent"
    cp "$BUILD/generated/tesra_symbols.txt" "$GUI_DIR/tesra_symbols.txt"
    cp "$GUI_DIR/tesra_symbols.txt" "$WORK/symbols-before.txt"
    store_file 0 0 0 255 1 >"$GUI_DIR/tesra.dat"
    if check "symbol grid at $percent %: the form opens" start_dialog; then
        local before
        before=$(band_pixels "$WORK/band-before.png")
        keys alt+o
        settle
        window_shot "$BUILD/dialog-symbol-grid-$percent.png"
        import -window root "$BUILD/dialog-symbol-grid-screen-$percent.png"
        keys End Return
        check "symbol grid at $percent %: the chosen symbol shows in the band at once" \
            [ "$(band_changes "$before")" != "$before" ]
        settle
        window_shot "$BUILD/dialog-symbol-chosen-$percent.png"
        keys Return
        finish_dialog "symbol grid at $percent %, choose then OK"
        { store_file 0 0 0 255 1 7 3 1 0 0 1 0 2 0
          printf '%s\r\n' '[extension]' row1.arrangement=1 row1.figure_color=1; } >"$WORK/expected-symbol.dat"
        check "symbol grid at $percent %: row 1 holds every setting of the fence, its pen included" \
            same_bytes "$GUI_DIR/tesra.dat" "$WORK/expected-symbol.dat"
        check "symbol grid at $percent %: the symbol file is as it was" \
            same_bytes "$GUI_DIR/tesra_symbols.txt" "$WORK/symbols-before.txt"
    fi
    use_scaling 100
}

# The row registered as a symbol under a typed name (a name CP932 cannot hold
# refused first, the text kept for correction), the fence renamed with F2 and
# the boundary deleted after its question; OK saves the file.
scenario_symbol_register_rename_delete() {
    symbol_file >"$GUI_DIR/tesra_symbols.txt"
    store_file 0 0 0 255 1 >"$GUI_DIR/tesra.dat"
    cp "$GUI_DIR/tesra.dat" "$WORK/before.dat"
    if ! check "symbol register: the form opens" start_dialog; then return; fi
    local prompt message
    keys alt+v
    prompt=$(other_window)
    check "symbol register: 「この行を記号に登録」 asks for a name" [ -n "$prompt" ]
    typed "mine€"
    keys Return
    window_gone "$prompt"
    message=$(other_window)
    check "symbol register: a name CP932 cannot hold is refused with a message" [ -n "$message" ]
    settle
    import -window root "$BUILD/dialog-symbol-name-refused.png"
    keys Return
    window_gone "$message"
    prompt=$(other_window)
    check "symbol register: the name is asked again" [ -n "$prompt" ]
    settle
    import -window root "$BUILD/dialog-symbol-name-kept.png"
    keys End BackSpace Return  # the typed text is still there: only the € goes
    window_gone "$prompt"
    settle
    keys alt+o
    settle
    keys Right F2 ctrl+a
    typed fence
    settle
    import -window root "$BUILD/dialog-symbol-rename.png"
    keys Return
    settle
    keys Home Delete
    local question
    question=$(other_window)
    check "symbol delete: a question comes first" [ -n "$question" ]
    settle
    import -window root "$BUILD/dialog-symbol-delete-question.png"
    keys Tab Return
    window_gone "$question"
    settle
    window_shot "$BUILD/dialog-symbol-grid-edited.png"
    keys Escape
    settle
    keys Return
    finish_dialog "symbol register, rename and delete, OK"
    check "symbol register, rename and delete, OK: the file holds fence and mine, in that order" \
        [ "$(iconv -f CP932 -t UTF-8 "$GUI_DIR/tesra_symbols.txt" | tr -d '\r' | sed -n 's/^symbol //p' | tr '\n' ' ')" = "fence mine " ]
    check "symbol register, rename and delete, OK: tesra.dat unchanged" \
        same_bytes "$GUI_DIR/tesra.dat" "$WORK/before.dat"
}

# scenario_keyboard PERCENT: the row in use changed by arrow keys on the
# selectors, the pitch reached by its access key (Alt+P) and typed, OK by
# Enter; then the color swatch reached by Tab and opened by Space and by
# Enter. Screenshots of the form with the area and its tips' labels.
scenario_keyboard() {
    local percent=$1
    use_scaling "$percent"
    preview_store >"$GUI_DIR/tesra.dat"
    if check "keyboard at $percent %: the form opens" start_dialog; then
        keys Down Down Up  # from row 5 (in use) to row 6
        keys alt+p End BackSpace
        typed 1.5
        settle
        window_shot "$BUILD/dialog-keyboard-$percent.png"
        keys Return
        finish_dialog "keyboard at $percent %, arrows, Alt+P, Enter"
        { preview_store | sed '5s/.*/6\r/'; printf '%s\r\n' '[extension]' row6.pitch=1.5; } \
            >"$WORK/expected-keyboard.dat"
        check "keyboard at $percent %: row 6 is in use and its pitch is 1.5" \
            same_bytes "$GUI_DIR/tesra.dat" "$WORK/expected-keyboard.dat"
    fi
    cp "$GUI_DIR/tesra.dat" "$WORK/before.dat"
    if check "swatch by keyboard at $percent %: the form opens" start_dialog; then
        local chooser
        keys alt+s Tab space  # the check box by its access key, then the swatch after it
        chooser=$(window_named '^色$')
        check "swatch by keyboard at $percent %: Space opens the color chooser" [ -n "$chooser" ]
        [ -z "$chooser" ] || { keys Escape; window_gone "$chooser"; }
        keys Return
        chooser=$(window_named '^色$')
        check "swatch by keyboard at $percent %: Enter opens the color chooser" [ -n "$chooser" ]
        [ -z "$chooser" ] || { keys Escape; window_gone "$chooser"; }
        keys Escape
        finish_dialog "swatch by keyboard at $percent %, Escape"
        check "swatch by keyboard at $percent %: tesra.dat unchanged" \
            same_bytes "$GUI_DIR/tesra.dat" "$WORK/before.dat"
    fi
    use_scaling 100
}

dialog_checks() {
    echo "== settings dialog under Xvfb (screenshots in $BUILD)"
    export LANG=ja_JP.UTF-8 LOCPATH="$WORK/locale"
    GUI_DIR="$WORK/gui/設定 テスト"
    mkdir -p "$GUI_DIR"
    cp "$BUILD/tesra.exe" "$GUI_DIR/"
    # An exchange file with the scale switch: the dialog reads it, never writes it.
    local exchange="$REPO/tests/app/golden/two_points_bz/JWC_TEMP.TXT"
    [ -f "$exchange" ] || exchange="$HERE/inputs/two_points_bz/JWC_TEMP.TXT"
    cp "$exchange" "$GUI_DIR/JWC_TEMP.TXT"
    if [ -n "${TESRA_DIALOG_ONLY:-}" ]; then
        eval "$TESRA_DIALOG_ONLY"
        return
    fi
    scenario_defaults
    scenario_edit_ok
    scenario_discard "Escape" keys Escape
    scenario_discard "the Cancel button" click_client 692 284
    scenario_discard "the close box (Alt+F4)" keys alt+F4
    scenario_reopen
    scenario_color Cancel Escape "$WORK/expected-edited.dat" "tesra.dat unchanged, the color is lost"
    # Red is 0x0000FF, stored on line 4 with the check box's switch on line 3.
    sed '4s/.*/255\r/' "$WORK/expected-edited.dat" >"$WORK/expected-red.dat"
    scenario_color OK alt+y "$WORK/expected-red.dat" "tesra.dat holds the color 255 (red)"
    scenario_area
    scenario_own_figures
    scenario_preview
    for percent in 100 125 150; do scenario_long_values "$percent"; done
    for percent in 100 125 150; do scenario_figure_grid "$percent"; done
    for percent in 100 125 150; do scenario_keyboard "$percent"; done
    scenario_grid_rename_delete
    for percent in 100 125 150; do scenario_symbol_grid "$percent"; done
    scenario_symbol_register_rename_delete
    check "dialog runs left JWC_TEMP.TXT unchanged" same_bytes "$GUI_DIR/JWC_TEMP.TXT" "$exchange"
}
