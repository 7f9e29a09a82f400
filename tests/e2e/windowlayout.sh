# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 The Tavrolin developers
# shellcheck shell=bash
# Where the game's controls stand on the screen, worked out from the window's
# geometry the way the window lays itself out. Shared by every script that
# clicks or reads the real window (tests/e2e, tests/package, bench,
# tools/screenshot); tst_shelllayout checks it against the real window.
#
# The numbers are the window's design, in twips (15 to a pixel), as the game
# has them: ui/twips.h (the form and the main panel), ui/palette.cpp
# (centredPanelOrigin: where the panel goes) and ui/numgame_layout.cpp (the
# board panel Frame1(1), the squares, the banner Label9 and Resetz). Every
# twips figure is turned into pixels on its own, to the nearest pixel with
# halves away from zero, as twipsToPixels does; so is the panel's place.
#
# Every function takes and gives whole pixels and prints its answer on one
# line ("x y"), to be read with `read -r x y < <(function ...)`; given
# anything else it says so on stderr and prints nothing.

tl_twips_per_pixel=15
# The client area below the menu bar: 11880 x 7860 twips (792 x 524 px).
tl_client_height_twips=7860
# The main panel, Frame1(0): 11745 x 7695 twips (783 x 513 px), kept 60
# twips left of and 360 above the middle of the window's outer size (frame
# and menu bar included).
tl_panel_width_twips=11745 tl_panel_height_twips=7695
tl_panel_shift_left_twips=60 tl_panel_shift_up_twips=360
# The board panel, Frame1(1), on the main panel.
tl_board_left_twips=2430 tl_board_top_twips=585
# The squares of the board's 4 x 5 field, 1245 x 1320 twips each: the left
# of each column and the top of each row (the square of row 1, column 0 was
# placed by hand 2 px left of its column; the column's middle is still on it).
tl_square_left_twips=(150 1455 2760 4065 5370)
tl_square_top_twips=(330 1870 3410 4950)
tl_square_width_twips=1245 tl_square_height_twips=1320
# The winner banner on the board: Label9(0) "PLAYER" at 450, 6390, then the
# winner's mark and "WON" up to 2505 + 1020; all 420 twips high.
tl_banner_left_twips=450 tl_banner_top_twips=6390
tl_banner_right_twips=$((2505 + 1020)) tl_banner_height_twips=420
# Its green ground shows this far in from Label9(0)'s top left corner.
tl_banner_ground_inset=3
# Resetz on the main panel.
tl_reset_left_twips=7920 tl_reset_top_twips=7005
tl_reset_width_twips=1035 tl_reset_height_twips=345
# Exit is the menu bar's first entry: a point this far in from its left.
tl_exit_inset=18

# Fails, saying so, unless every argument is a whole number.
_tl_whole() {
    local v
    for v in "$@"; do
        if ! [[ "$v" =~ ^-?[0-9]+$ ]]; then
            echo "windowlayout: '$v' is not a whole number of pixels" >&2
            return 1
        fi
    done
}

# Sets _tl_r to $1 / $2 ($2 > 0), to the nearest whole number, halves away
# from zero.
_tl_divide_rounded() {
    if [ "$1" -lt 0 ]; then
        _tl_r=$((-((-2 * $1 + $2) / (2 * $2))))
    else
        _tl_r=$(((2 * $1 + $2) / (2 * $2)))
    fi
}

# Sets _tl_r to $1 twips in whole pixels, as twipsToPixels.
_tl_px() {
    _tl_divide_rounded "$1" "$tl_twips_per_pixel"
}

# Twips to whole pixels, as twipsToPixels.
twips_to_pixels() {
    _tl_whole "${1-}" || return 1
    _tl_px "$1"
    echo "$_tl_r"
}

# Where the main panel stands in the client area below the menu bar when the
# window's outer size is WIDTH x HEIGHT: "left top".
panel_offset() {
    _tl_whole "${1-}" "${2-}" || return 1
    # The place in twips is (outer * 15 - panel) / 2 - shift, to the half
    # twip, so in pixels it is (outer * 15 - panel - 2 * shift) / 30.
    local tpp="$tl_twips_per_pixel" left
    _tl_divide_rounded $(($1 * tpp - tl_panel_width_twips - 2 * tl_panel_shift_left_twips)) $((2 * tpp))
    left=$_tl_r
    _tl_divide_rounded $(($2 * tpp - tl_panel_height_twips - 2 * tl_panel_shift_up_twips)) $((2 * tpp))
    echo "$left $_tl_r"
}

# The main panel's size, "width height".
panel_size() {
    local width
    _tl_px "$tl_panel_width_twips"
    width=$_tl_r
    _tl_px "$tl_panel_height_twips"
    echo "$width $_tl_r"
}

# The menu bar's height in a window HEIGHT high at its designed size.
menu_bar_height() {
    _tl_whole "${1-}" || return 1
    _tl_px "$tl_client_height_twips"
    echo $(($1 - _tl_r))
}

# Where the main panel stands on the screen, "x y", in a window with no
# frame at its designed size (its client area 524 pixels high below the
# menu bar), given its geometry as `xdotool getwindowgeometry --shell` has
# it: X Y WIDTH HEIGHT. With no frame the outer size is the window's own.
panel_origin() {
    _tl_whole "${1-}" "${2-}" "${3-}" "${4-}" || return 1
    local left top
    read -r left top < <(panel_offset "$3" "$4")
    _tl_px "$tl_client_height_twips"
    echo "$(($1 + left)) $(($2 + ($4 - _tl_r) + top))"
}

# The top left corner of the board panel, "x y", from the main panel's.
board_origin() {
    _tl_whole "${1-}" "${2-}" || return 1
    local x
    _tl_px "$tl_board_left_twips"
    x=$(($1 + _tl_r))
    _tl_px "$tl_board_top_twips"
    echo "$x $(($2 + _tl_r))"
}

# A point of the square in row ROW (0 to 3) and column COLUMN (0 to 4) of
# the board whose corner is at BOARD_X BOARD_Y: its middle, or DX DY pixels
# from its top left corner.
#   square_point ROW COLUMN BOARD_X BOARD_Y [DX DY]
square_point() {
    if [ "$#" -ne 4 ] && [ "$#" -ne 6 ]; then
        echo "windowlayout: square_point ROW COLUMN BOARD_X BOARD_Y [DX DY], not: $*" >&2
        return 1
    fi
    _tl_whole "$@" || return 1
    local row="$1" col="$2" dx="${5:-}" dy="${6:-}" x
    if [ "$row" -lt 0 ] || [ "$row" -gt 3 ] || [ "$col" -lt 0 ] || [ "$col" -gt 4 ]; then
        echo "windowlayout: there is no square in row $row, column $col" >&2
        return 1
    fi
    _tl_px "$tl_square_width_twips"
    [ -n "$dx" ] || dx=$((_tl_r / 2))
    _tl_px "$tl_square_height_twips"
    [ -n "$dy" ] || dy=$((_tl_r / 2))
    _tl_px "${tl_square_left_twips[col]}"
    x=$(($3 + _tl_r + dx))
    _tl_px "${tl_square_top_twips[row]}"
    echo "$x $(($4 + _tl_r + dy))"
}

# The square of hit number N (0 to 19) of the scripts' games, "row column":
# the twenty hits take every square once, never the same one twice running
# (that would be a double-click).
hit_square() {
    _tl_whole "${1-}" || return 1
    echo "$(($1 % 4)) $((($1 * 3) % 5))"
}

# A point of the winner banner's green ground, "x y", on the board whose
# corner is at BOARD_X BOARD_Y.
banner_point() {
    _tl_whole "${1-}" "${2-}" || return 1
    local x
    _tl_px "$tl_banner_left_twips"
    x=$(($1 + _tl_r + tl_banner_ground_inset))
    _tl_px "$tl_banner_top_twips"
    echo "$x $(($2 + _tl_r + tl_banner_ground_inset))"
}

# The whole banner, "x y width height", on the board whose corner is at
# BOARD_X BOARD_Y.
banner_box() {
    _tl_whole "${1-}" "${2-}" || return 1
    local left right top
    _tl_px "$tl_banner_left_twips"
    left=$_tl_r
    _tl_px "$tl_banner_right_twips"
    right=$_tl_r
    _tl_px "$tl_banner_top_twips"
    top=$_tl_r
    _tl_px "$tl_banner_height_twips"
    echo "$(($1 + left)) $(($2 + top)) $((right - left)) $_tl_r"
}

# The middle of the Reset button, "x y", on the main panel whose corner is
# at PANEL_X PANEL_Y.
reset_point() {
    _tl_whole "${1-}" "${2-}" || return 1
    local x y
    _tl_px "$tl_reset_left_twips"
    x=$(($1 + _tl_r))
    _tl_px "$tl_reset_width_twips"
    x=$((x + _tl_r / 2))
    _tl_px "$tl_reset_top_twips"
    y=$(($2 + _tl_r))
    _tl_px "$tl_reset_height_twips"
    echo "$x $((y + _tl_r / 2))"
}

# A point of Exit on the menu bar, "x y", in a window at its designed size
# with the geometry X Y WIDTH HEIGHT (as for panel_origin).
exit_point() {
    _tl_whole "${1-}" "${2-}" "${3-}" "${4-}" || return 1
    _tl_px "$tl_client_height_twips"
    echo "$(($1 + tl_exit_inset)) $(($2 + ($4 - _tl_r) / 2))"
}
