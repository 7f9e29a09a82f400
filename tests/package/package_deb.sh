#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 The Tavrolin developers
# Builds the Debian package with cpack, installs it with apt-get (so its
# dependencies resolve), and plays a whole game on the installed
# /usr/games/tavrolin as an ordinary user made for the occasion, under a
# private Xvfb with real xdotool clicks (no sound server, no session bus):
# /usr/games is not the player's to write, so the finished game must land in
# ~/.local/share/tavrolin/TVL_Scores.
# Then the package is purged and must leave nothing behind. The package and
# the user are removed again on every way out.
#
# Needs root or passwordless sudo; skips (exit 77) without. Refuses to run
# (skips) where a tavrolin package or a /usr/games/tavrolin is already there.
# Usage: package_deb.sh BUILD_DIR VERSION DESKTOP_ID
set -euo pipefail

build="$(readlink -f "$1")"
version="$2"
id="$3"
SKIP=77

if [ "$(id -u)" -eq 0 ]; then
    ROOT=()
elif command -v sudo >/dev/null && sudo -n true 2>/dev/null; then
    ROOT=(sudo -n)
else
    echo "package_deb: SKIP: installing a package and making a user needs root or passwordless sudo"
    exit $SKIP
fi
as_root() { "${ROOT[@]}" "$@"; }
for tool in cpack dpkg-deb dpkg-shlibdeps apt-get useradd userdel setpriv Xvfb xdotool xprop import convert \
    desktop-file-validate appstreamcli lintian file readelf; do
    command -v "$tool" >/dev/null || { echo "package_deb: $tool is missing (./dev installs it)" >&2; exit 1; }
done

status="$(dpkg-query -W -f='${Status}' tavrolin 2>/dev/null || true)"
if [ -n "$status" ] && [ "$status" != "unknown ok not-installed" ]; then
    echo "package_deb: SKIP: a tavrolin package is already on this machine ($status); not touching it"
    exit $SKIP
fi
if [ -e /usr/games/tavrolin ]; then
    echo "package_deb: SKIP: /usr/games/tavrolin exists and is not from a package; not overwriting it"
    exit $SKIP
fi

tmp="$(mktemp -d /tmp/tavrolin-package.XXXXXX)"
chmod 755 "$tmp"
user="tvlpkg$$"
installed=0
made_user=0
pids=()
# shellcheck source=tests/e2e/xdisplay.sh
. "$(dirname "$0")/../e2e/xdisplay.sh"
# shellcheck source=tests/e2e/windowlayout.sh
. "$(dirname "$0")/../e2e/windowlayout.sh"
cleanup() {
    stop_started
    if [ "$installed" = 1 ]; then
        as_root env DEBIAN_FRONTEND=noninteractive apt-get purge -y -q tavrolin >/dev/null 2>&1 ||
            echo "package_deb: could not purge tavrolin" >&2
    fi
    if [ "$made_user" = 1 ]; then
        # Anything the game left running as the user goes first; a process
        # that is only waiting to be reaped cannot be ended, so force then.
        for pid in $(ps -u "$user" -o pid= 2>/dev/null); do
            as_root kill "$pid" 2>/dev/null || true
        done
        as_root userdel "$user" 2>/dev/null || as_root userdel -f "$user" 2>/dev/null ||
            echo "package_deb: could not remove user $user" >&2
    fi
    as_root rm -rf "$tmp"
}
trap cleanup EXIT

fail() {
    echo "package_deb: FAIL: $*" >&2
    [ -f "$tmp/app.log" ] && sed 's/^/  app: /' "$tmp/app.log" >&2
    exit 1
}


# --- Build the package -----------------------------------------------------------
(cd "$build" && cpack -G DEB -B "$tmp/cpack" >"$tmp/cpack.log" 2>&1) || { cat "$tmp/cpack.log" >&2; fail "cpack failed"; }
debs=("$tmp"/cpack/tavrolin_*.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || fail "cpack made no single tavrolin_*.deb"
deb="${debs[0]}"
echo "package_deb: built $(basename "$deb")"

# What Debian's own checker says: nothing at all (an override, if ever one is
# needed, stands commented in packaging/ and says why).
lintian --fail-on error,warning --display-info --no-tag-display-limit "$deb" >"$tmp/lintian.log" 2>&1 ||
    { grep -v '^running with root privileges' "$tmp/lintian.log" >&2; fail "lintian finds fault with the package"; }
if grep -v '^running with root privileges' "$tmp/lintian.log" | grep -q '^[EW]:'; then
    cat "$tmp/lintian.log" >&2
    fail "lintian reports errors or warnings"
fi
# The licence and the history where Debian wants them, the binaries stripped.
dpkg-deb -x "$deb" "$tmp/unpacked"
grep -q '^Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/' \
    "$tmp/unpacked/usr/share/doc/tavrolin/copyright" || fail "no machine-readable copyright file"
zcat "$tmp/unpacked/usr/share/doc/tavrolin/changelog.gz" | head -n1 | grep -q "^tavrolin ($version) " ||
    fail "the changelog's first entry is not version $version"
# Built with Debian's hardening flags (dpkg-buildflags): lintian's hardening
# tags, some of them only informational, name none of the binaries, and both
# bind their symbols at start behind read-only relocations.
if grep -q 'hardening-' "$tmp/lintian.log"; then
    grep 'hardening-' "$tmp/lintian.log" >&2
    fail "the binaries are not built with Debian's hardening flags"
fi
for f in usr/games/tavrolin "$(cd "$tmp/unpacked" && find usr/lib -name libtavrolin-sound.so)"; do
    file -b "$tmp/unpacked/$f" | grep -q ', stripped' || fail "$f is not stripped"
    readelf -d "$tmp/unpacked/$f" | grep -q 'FLAGS.*BIND_NOW' || fail "$f does not bind its symbols at start"
    readelf -lW "$tmp/unpacked/$f" | grep -q 'GNU_RELRO' || fail "$f has no read-only relocations"
done
dpkg-deb -e "$deb" "$tmp/control"
grep -rqs ldconfig "$tmp/control" && fail "a maintainer script calls ldconfig"

field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = tavrolin ] || fail "the package is called '$(field Package)'"
[ "$(field Version)" = "$version" ] || fail "the package's version is '$(field Version)', the project is $version"
[ "$(field Section)" = games ] || fail "the package's section is '$(field Section)'"
[ -n "$(field Maintainer)" ] || fail "the package names no maintainer"
# A summary line, then a body that package managers reflow (lines starting
# with two spaces would be shown verbatim).
description="$(field Description)"
[ "$(head -n1 <<<"$description")" = "number game for two players on one computer" ] ||
    fail "the package's summary is '$(head -n1 <<<"$description")'"
[ "$(wc -l <<<"$description")" -ge 3 ] || fail "the package has no long description"
grep -q '^  ' <<<"$description" && fail "the long description has lines shown verbatim"
depends="$(field Depends)"
# Found by dpkg-shlibdeps from what the program links, plus the fonts.
for dep in fonts-liberation libqt6widgets6 libpulse0 libc6; do
    grep -qE "(^|, )$dep( |,|$)" <<<"$depends" || fail "the package does not depend on $dep: $depends"
done
grep -qE "(^|, )qt6-wayland( |,|$)" <<<"$(field Recommends)" ||
    fail "the package does not recommend qt6-wayland: $(field Recommends)"
grep -qE "(^|, )qt6-gtk-platformtheme( |,|$)" <<<"$(field Suggests)" ||
    fail "the package does not suggest qt6-gtk-platformtheme: $(field Suggests)"
dpkg-deb -c "$deb" >"$tmp/contents"
owners="$(awk '{ print $2 }' "$tmp/contents" | sort -u | tr '\n' ' ')"
[ "$owners" = "root/root " ] || fail "files in the package are owned by $owners, not only root"

# --- Install it ------------------------------------------------------------------
installed=1
as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "$deb" \
    >"$tmp/apt.log" 2>&1 || { cat "$tmp/apt.log" >&2; fail "apt-get could not install the package"; }
dpkg-query -L tavrolin >"$tmp/files"
# Slimmed systems (container images) tell dpkg to leave out manual pages and
# the like with path-exclude; such files are rightly missing.
excluded() {
    local rule glob verdict=1
    while read -r rule glob; do
        # shellcheck disable=SC2053 # the right side is a glob on purpose
        if [[ "$1" == $glob ]]; then
            [ "$rule" = path-exclude ] && verdict=0 || verdict=1
        fi
    done < <(cat /etc/dpkg/dpkg.cfg /etc/dpkg/dpkg.cfg.d/* 2>/dev/null | grep -E '^path-(ex|in)clude[ =]' | tr '=' ' ')
    return $verdict
}
for path in /usr/games/tavrolin /usr/share/applications/$id.desktop /usr/share/metainfo/$id.metainfo.xml \
    /usr/share/icons/hicolor/scalable/apps/$id.svg /usr/share/man/man6/tavrolin.6.gz; do
    grep -q " \.$path\$" "$tmp/contents" || fail "the package does not hold $path"
    excluded "$path" && continue
    grep -qx "$path" "$tmp/files" || fail "dpkg does not list $path as installed"
    [ -f "$path" ] || fail "$path is not there after installing"
done
for size in 16 32 48 64 128 256; do
    png="/usr/share/icons/hicolor/${size}x${size}/apps/$id.png"
    grep -qx "$png" "$tmp/files" || fail "the package has no ${size}x${size} icon"
done
[ "$(stat -c '%U %a' /usr/games/tavrolin)" = "root 755" ] || fail "/usr/games/tavrolin is $(stat -c '%U %a' /usr/games/tavrolin)"
desktop-file-validate "/usr/share/applications/$id.desktop" || fail "the installed desktop entry is not valid"
appstreamcli validate --no-net "/usr/share/metainfo/$id.metainfo.xml" >/dev/null ||
    fail "the installed metainfo is not valid"
wm_class="$(sed -n 's/^StartupWMClass=//p' "/usr/share/applications/$id.desktop")"

# --- An ordinary user ----------------------------------------------------------
home="$tmp/home"
as_root useradd --no-create-home --home-dir "$home" --shell /bin/sh --user-group "$user" ||
    fail "could not create the user $user"
made_user=1
as_root mkdir -p "$home/runtime"
as_root chown -R "$user:$user" "$home"
as_root chmod 700 "$home" "$home/runtime"
uid="$(id -u "$user")"
gid="$(id -g "$user")"

# The desktop entry says Exec=tavrolin: a login shell finds it on the PATH.
found="$(as_root runuser -l "$user" -c 'command -v tavrolin' 2>/dev/null || true)"
[ "$found" = /usr/games/tavrolin ] || fail "the user's login shell finds tavrolin at '$found'"

# --- Play a game as that user ------------------------------------------------------
start_xvfb 1280x1024 -ac || fail "Xvfb did not start"

(cd / && exec "${ROOT[@]}" setpriv --reuid="$uid" --regid="$gid" --init-groups -- env -i HOME="$home" USER="$user" \
    LOGNAME="$user" PATH=/usr/local/bin:/usr/bin:/bin:/usr/games DISPLAY="$DISPLAY" LANG=C.UTF-8 \
    XDG_RUNTIME_DIR="$home/runtime" QT_QPA_PLATFORM=xcb PULSE_SERVER="unix:$tmp/no-sound-server" \
    DBUS_SESSION_BUS_ADDRESS="unix:path=$tmp/no-session-bus" \
    /usr/games/tavrolin) >"$tmp/app.log" 2>&1 &
app_pid=$!
pids+=("$app_pid")
wait_for 150 xdotool search --onlyvisible --name '^Tavrolin$' || fail "the installed game showed no window"
wid="$(xdotool search --onlyvisible --name '^Tavrolin$' | head -n1)"
[ "$(ps -o user= -p "$(xdotool getwindowpid "$wid")")" = "$user" ] || fail "the window does not belong to $user"

# What the desktop matches the window by, and its icon at every size X11
# carries (Qt leaves out pictures over 128 pixels there).
class="$(xprop -id "$wid" WM_CLASS)"
grep -q "= \"[^\"]*\", \"$wm_class\"\$" <<<"$class" || fail "$class, the desktop entry expects $wm_class"
icons="$(xprop -id "$wid" _NET_WM_ICON >"$tmp/icon.txt" && grep -o 'Icon ([0-9]* x [0-9]*)' "$tmp/icon.txt" | tr '\n' ' ')"
for size in 16 32 48 64 128; do
    grep -q "Icon ($size x $size)" <<<"$icons" || fail "the window has no ${size}x${size} icon (it has: $icons)"
done

# Twenty hits in the game's window $wid (process $app_pid), the winner
# banner, the sound module in the game's memory, then Exit.
play_and_exit() {
    eval "$(xdotool getwindowgeometry --shell "$wid")"
    # Where the controls are, from the window's layout (no window manager).
    read -r panel_x panel_y < <(panel_origin "$X" "$Y" "$WIDTH" "$HEIGHT")
    read -r board_x board_y < <(board_origin "$panel_x" "$panel_y")
    read -r banner_x banner_y < <(banner_point "$board_x" "$board_y")
    read -r exit_x exit_y < <(exit_point "$X" "$Y" "$WIDTH" "$HEIGHT")
    sleep 0.5
    banner_shown() {
        import -window root "$tmp/shot.png"
        [ "$(convert "$tmp/shot.png" -format '%[hex:p{'"$banner_x"','"$banner_y"'}]' info: |
            cut -c1-6 | tr 'A-F' 'a-f')" = 008000 ]
    }
    app_gone() {
        local state
        state="$(ps -o stat= -p "$app_pid" 2>/dev/null)" || return 0
        [[ "$state" == Z* ]]
    }

    local n row col x y
    for n in $(seq 0 19); do
        read -r row col < <(hit_square "$n")
        read -r x y < <(square_point "$row" "$col" "$board_x" "$board_y")
        xdotool mousemove "$x" "$y" click 1
        sleep 0.15
    done
    wait_for 30 banner_shown || fail "no winner banner after twenty hits"
    app_gone && fail "the game died"
    # The installed game found its sound module (silent only for want of a server).
    game_pid="$(xdotool getwindowpid "$wid")"
    as_root grep -q '/usr/lib/.*tavrolin/libtavrolin-sound\.so' "/proc/$game_pid/maps" ||
        fail "the installed game did not load its sound module"
    xdotool mousemove "$exit_x" "$exit_y" click 1
    wait_for 50 app_gone || fail "Exit did not end the game"
    wait "$app_pid" || fail "the game ended with an error"
}

log="$home/.local/share/tavrolin/TVL_Scores"
as_root test -e "$log" && fail "a score log exists before any game"
play_and_exit

leftover="$(ps -u "$user" -o pid=,args= 2>/dev/null || true)"
[ -z "$leftover" ] || fail "processes of $user outlive the game: $leftover"

# --- Where the game went ---------------------------------------------------------
as_root test -f "$log" || fail "no score log in the user's data folder ($log)"
[ "$(as_root stat -c %U "$log")" = "$user" ] || fail "the score log is not the user's"
lines="$(as_root cat "$log" | wc -l)"
[ "$lines" -eq 6 ] || fail "the score log holds $lines lines, not the six of one game"
[ -e /usr/games/TVL_Scores ] && fail "a score log appeared in /usr/games"
echo "package_deb: the game played as $user went to ~/.local/share/tavrolin/TVL_Scores"

# --- Root plays too: nothing may appear under /usr ---------------------------------
# /usr/games takes root's writes, but an installed copy keeps its log in the
# user's data folder all the same.
roothome="$tmp/roothome"
as_root mkdir -p "$roothome/runtime"
as_root chmod 700 "$roothome" "$roothome/runtime"
as_root touch "$tmp/before-root"
(cd / && exec "${ROOT[@]}" env -i HOME="$roothome" USER=root LOGNAME=root PATH=/usr/local/bin:/usr/bin:/bin:/usr/games \
    DISPLAY="$DISPLAY" LANG=C.UTF-8 XDG_RUNTIME_DIR="$roothome/runtime" QT_QPA_PLATFORM=xcb \
    PULSE_SERVER="unix:$tmp/no-sound-server" DBUS_SESSION_BUS_ADDRESS="unix:path=$tmp/no-session-bus" \
    /usr/games/tavrolin) >"$tmp/app.log" 2>&1 &
app_pid=$!
pids+=("$app_pid")
wait_for 150 xdotool search --onlyvisible --name '^Tavrolin$' || fail "the installed game showed no window for root"
wid="$(xdotool search --onlyvisible --name '^Tavrolin$' | head -n1)"
[ "$(ps -o user= -p "$(xdotool getwindowpid "$wid")")" = root ] || fail "the window does not belong to root"
play_and_exit
as_root test -f "$roothome/.local/share/tavrolin/TVL_Scores" || fail "no score log in root's data folder"
new_under_usr="$(as_root find /usr -newer "$tmp/before-root" \( -type f -o -type l \) 2>/dev/null || true)"
[ -z "$new_under_usr" ] || fail "the game played as root wrote under /usr: $new_under_usr"
echo "package_deb: the game played as root went to its data folder; nothing new under /usr"

# --- Purge ---------------------------------------------------------------------------
as_root env DEBIAN_FRONTEND=noninteractive apt-get purge -y -q tavrolin >"$tmp/purge.log" 2>&1 ||
    { cat "$tmp/purge.log" >&2; fail "apt-get could not purge the package"; }
installed=0
status="$(dpkg-query -W -f='${Status}' tavrolin 2>/dev/null || true)"
[ -z "$status" ] || [ "$status" = "unknown ok not-installed" ] || fail "after purging, dpkg still knows tavrolin: $status"
left=()
while read -r path; do
    [ -d "$path" ] && continue # shared folders such as /usr/games stay
    [ -e "$path" ] && left+=("$path")
done <"$tmp/files"
[ ${#left[@]} -eq 0 ] || fail "purging left files behind: ${left[*]}"
echo "package_deb: passed"
