#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 The Tavrolin developers
# Installs the build into a scratch DESTDIR with prefix /usr, as the Debian
# package does, and checks what lands where: the game in /usr/games (not
# /usr/bin), the desktop entry and AppStream metainfo (both validated by the
# tools desktops and software centres use, and held to what a menu and a
# software centre show of the game), the die icon at every hicolor size plus
# the scalable one, and the compressed manual page in section 6.
# Usage: install_tree.sh BUILD_DIR VERSION DESKTOP_ID
set -euo pipefail

build="$(readlink -f "$1")"
version="$2"
id="$3"
src="$(readlink -f "$(dirname "$0")/../..")"
for tool in desktop-file-validate appstreamcli file man strings identify python3; do
    command -v "$tool" >/dev/null || { echo "install_tree: $tool is missing (./dev installs it)" >&2; exit 1; }
done

root="$build/install-check"
rm -rf "$root"
DESTDIR="$root" cmake --install "$build" --prefix /usr >"$build/install-check.log" 2>&1 ||
    { cat "$build/install-check.log" >&2; echo "install_tree: FAIL: cmake --install failed" >&2; exit 1; }
usr="$root/usr"

failures=0
fail() {
    echo "install_tree: FAIL: $*" >&2
    failures=$((failures + 1))
}
# Length in characters (not bytes).
chars() { printf '%s' "$1" | LC_ALL=C.UTF-8 wc -m; }

# --- The game --------------------------------------------------------------
[ -x "$usr/games/tavrolin" ] || fail "no executable /usr/games/tavrolin"
[ -e "$usr/bin" ] && fail "something was installed in /usr/bin: $(ls "$usr/bin")"
file -b "$usr/games/tavrolin" | grep -q '^ELF' || fail "/usr/games/tavrolin is not a program"

# --- The sound module, where the game looks for it from its own folder --------
module="$(find "$usr/lib" -name libtavrolin-sound.so -type f 2>/dev/null | head -n1)"
if [ -z "$module" ]; then
    fail "no sound module libtavrolin-sound.so under /usr/lib"
else
    file -b "$module" | grep -q 'ELF.*shared object' || fail "${module#$root} is not a shared library"
    found=0
    for rel in $(strings -e l "$usr/games/tavrolin" | grep -E '^\.\./.*libtavrolin-sound\.so$' || true); do
        [ "$(readlink -f "$usr/games/$rel")" = "$(readlink -f "$module")" ] && found=1
    done
    [ "$found" = 1 ] || fail "the game does not look for its sound module at ${module#$root}"
fi

# --- No path of the build or of the sources in what is installed -------------
# (in 8-bit and in UTF-16 strings: Qt keeps string literals as UTF-16)
for f in $(find "$usr" -type f); do
    for encoding in s l; do
        # grep reads to the end: with -q it would stop at the first match,
        # strings would die of SIGPIPE, and pipefail would hide the match.
        if strings -a -e "$encoding" "$f" | grep -F -e "$build" -e "$src" >/dev/null; then
            fail "${f#$root} carries a path of the build or the sources"
        fi
    done
done

# --- Desktop entry -----------------------------------------------------------
desktop="$usr/share/applications/$id.desktop"
if [ ! -f "$desktop" ]; then
    fail "no desktop entry $id.desktop"
else
    # Hints and warnings count as much as errors: the validator says nothing
    # about an entry it has nothing against.
    said="$(desktop-file-validate "$desktop" 2>&1)" || fail "desktop-file-validate rejects $id.desktop"
    [ -z "$said" ] || fail "desktop-file-validate has something to say about $id.desktop: $said"
    key() { sed -n "s/^$1=//p" "$desktop"; }
    [ "$(key Icon)" = "$id" ] || fail "the desktop entry's Icon is '$(key Icon)', not $id"
    [ "$(key Exec | cut -d' ' -f1)" = tavrolin ] || fail "the desktop entry does not start tavrolin"
    # Menus leave the entry out where the game is not installed.
    [ "$(key TryExec)" = tavrolin ] || fail "TryExec is '$(key TryExec)', not tavrolin"
    [ "$(key Categories)" = "Game;BoardGame;" ] || fail "Categories is '$(key Categories)'"
    # On X11 the window's WM_CLASS class is the application name, tavrolin.
    [ "$(key StartupWMClass)" = tavrolin ] || fail "StartupWMClass is '$(key StartupWMClass)', not tavrolin"
    # A kind of program, not a sentence; a comment a tooltip shows whole.
    generic="$(key GenericName)"
    [ -n "$generic" ] && [ "$(wc -w <<<"$generic")" -le 3 ] ||
        fail "GenericName '$generic' is not the name of a kind of program"
    comment="$(key Comment)"
    [ -n "$comment" ] && [ "$(chars "$comment")" -le 79 ] ||
        fail "Comment '$comment' is missing or longer than 79 characters"
    for word in numbers luck chance "two players"; do
        grep -q -x -F "$word" <<<"$(key Keywords | tr ';' '\n')" || fail "Keywords lacks '$word': '$(key Keywords)'"
    done
fi

# --- AppStream metainfo --------------------------------------------------------
meta="$usr/share/metainfo/$id.metainfo.xml"
if [ ! -f "$meta" ]; then
    fail "no metainfo $id.metainfo.xml"
else
    # Every note counts, pedantic ones included, save two about the component
    # id, which is the desktop id the whole program carries (desktop entry,
    # icons, the name Wayland matches windows by) and is not changed lightly:
    # its first label, example, is no top-level domain the validator knows,
    # and it has the capital T of the name.
    said="$(LC_ALL=C.UTF-8 appstreamcli validate --pedantic --no-net "$meta" 2>&1)" ||
        fail "appstreamcli rejects $id.metainfo.xml: $said"
    id_re="${id//./\\.}"
    notes="$(grep -v -e '^$' -e 'Validation was successful' <<<"$said" |
        grep -v -x -E -e "I: $id_re:[0-9]+: cid-maybe-not-rdns $id_re" \
                      -e "P: $id_re:[0-9]+: cid-contains-uppercase-letter $id_re" || true)"
    [ -z "$notes" ] || fail "appstreamcli --pedantic has notes on $id.metainfo.xml: $notes"
    grep -q 'Validation was successful' <<<"$said" || fail "appstreamcli did not pass $id.metainfo.xml: $said"
    grep -q "<id>$id</id>" "$meta" || fail "the metainfo's id is not $id"
    grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$meta" ||
        fail "the metainfo does not launch $id.desktop"
    newest="$(grep -o '<release version="[^"]*"' "$meta" | head -n1 | cut -d'"' -f2)"
    [ "$newest" = "$version" ] || fail "the newest release in the metainfo is '$newest', the project is $version"
    grep -q '<content_rating type="oars-1.1"' "$meta" || fail "no OARS content rating"
    grep -q '<screenshot type="default">' "$meta" || fail "no default screenshot"

    # What a software centre shows, read as XML: one "key<TAB>value" line
    # per fact, and one "shot<US>caption<US>url<US>width<US>height" per
    # screenshot (US, the unit separator, keeps empty fields apart).
    facts="$(python3 - "$meta" <<'EOF'
import sys
import xml.etree.ElementTree as ET

root = ET.parse(sys.argv[1]).getroot()
def text(path):
    node = root.find(path)
    return " ".join((node.text or "").split()) if node is not None else ""
print("summary\t" + text("summary"))
print("license\t" + text("project_license"))
for node in root.findall("content_rating/content_attribute"):
    print("oars\t%s=%s" % (node.get("id"), (node.text or "").strip()))
release = root.find("releases/release")
print("release_type\t" + (release.get("type", "") if release is not None else ""))
for shot in root.findall("screenshots/screenshot"):
    caption = " ".join("".join(shot.find("caption").itertext()).split()) if shot.find("caption") is not None else ""
    images = shot.findall("image[@type='source']")
    image = images[0] if len(images) == 1 else ET.Element("image")
    print("shot\x1f%s\x1f%s\x1f%s\x1f%s" % (caption, (image.text or "").strip(), image.get("width", ""), image.get("height", "")))
EOF
)" || fail "the metainfo does not read as XML"
    fact() { sed -n "s/^$1\t//p" <<<"$facts"; }
    summary="$(fact summary)"
    [ -n "$summary" ] && [ "$(chars "$summary")" -le 35 ] ||
        fail "the summary '$summary' is missing or longer than 35 characters"
    [ "$(fact license)" = GPL-3.0-or-later ] || fail "project_license is '$(fact license)', not GPL-3.0-or-later"
    # The side panels advertise the publisher's programs with download links.
    grep -q -x -E 'money-advertising=(mild|moderate|intense)' <<<"$(fact oars)" ||
        fail "the content rating does not declare the advertising: $(fact oars | tr '\n' ' ')"
    [ "$(fact release_type)" = stable ] || fail "the newest release's type is '$(fact release_type)', not stable"
    shots="$(grep -c $'^shot\x1f' <<<"$facts" || true)"
    [ "$shots" -eq 3 ] || fail "the metainfo has $shots screenshots, not 3"
    while IFS=$'\x1f' read -r _ caption url width height; do
        [ -n "$caption" ] || fail "the screenshot $url has no caption"
        case "$url" in
        https://*/*.png) ;;
        *) fail "the screenshot '$url' is not a PNG image published over https" ; continue ;;
        esac
        picture="$src/docs/screenshots/${url##*/}"
        if [ ! -f "$picture" ]; then
            fail "the screenshot $url is not in docs/screenshots/"
        else
            real="$(identify -format '%w %h' "$picture")"
            [ "$real" = "$width $height" ] ||
                fail "docs/screenshots/${url##*/} is ${real/ /x}, the metainfo says ${width}x$height"
        fi
    done < <(grep $'^shot\x1f' <<<"$facts")
fi

# --- Icons -------------------------------------------------------------------------
for size in 16 32 48 64 128 256; do
    png="$usr/share/icons/hicolor/${size}x${size}/apps/$id.png"
    if [ ! -f "$png" ]; then
        fail "no ${size}x${size} icon"
    else
        file -b "$png" | grep -q "^PNG image data, $size x $size, 8-bit/color RGBA" ||
            fail "the ${size}x${size} icon is $(file -b "$png")"
    fi
done
svg="$usr/share/icons/hicolor/scalable/apps/$id.svg"
if [ ! -f "$svg" ]; then
    fail "no scalable icon"
else
    file -b "$svg" | grep -q '^SVG Scalable Vector Graphics image' || fail "the scalable icon is $(file -b "$svg")"
fi

# --- Manual page ---------------------------------------------------------------------
page="$usr/share/man/man6/tavrolin.6.gz"
if [ ! -f "$page" ]; then
    fail "no manual page man6/tavrolin.6.gz"
else
    gzip -t "$page" || fail "the manual page is not gzip data"
    warnings="$(LC_ALL=C.UTF-8 MANROFFSEQ='' MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 -Z "$page" 2>&1 >/dev/null)"
    [ -z "$warnings" ] || fail "man warns about the page: $warnings"
    text="$(LC_ALL=C.UTF-8 MANWIDTH=200 man -l "$page" 2>/dev/null)"
    for section in NAME SYNOPSIS DESCRIPTION FILES ENVIRONMENT BUGS AUTHOR COPYRIGHT; do
        grep -q "^$section" <<<"$text" || fail "the manual page has no $section section"
    done
    tail -n1 <<<"$text" | grep -q "^tavrolin $version " || fail "the manual page is not of version $version: $(tail -n1 <<<"$text")"
    # At the usual width no word is split, so no path breaks across lines.
    narrow="$(LC_ALL=C.UTF-8 MANWIDTH=80 man -l "$page" 2>/dev/null)"
    split="$(grep -E -e '‐$' -e '[A-Za-z]-$' <<<"$narrow" || true)"
    [ -z "$split" ] || fail "the manual page splits words or paths across lines: $split"
    grep -q '\.local/share/tavrolin/TVL_Scores' <<<"$text" || fail "the manual page does not say where the score log goes"
fi

# --- Nothing else ------------------------------------------------------------------
unexpected="$(cd "$root" && find . -type f | sed 's|^\./|/|' | grep -v -E \
    "^/usr/games/tavrolin$|^/usr/lib/([^/]+/)?tavrolin/libtavrolin-sound\.so$|^/usr/share/applications/$id\.desktop$|^/usr/share/metainfo/$id\.metainfo\.xml$|^/usr/share/icons/hicolor/(scalable|[0-9]+x[0-9]+)/apps/$id\.(png|svg)$|^/usr/share/man/man6/tavrolin\.6\.gz$|^/usr/share/doc/tavrolin/(copyright|changelog\.gz)$" || true)"
[ -z "$unexpected" ] || fail "unexpected files installed: $unexpected"

if [ "$failures" -gt 0 ]; then
    echo "install_tree: $failures fault(s)" >&2
    exit 1
fi
echo "install_tree: passed ($(cd "$root" && find . -type f | wc -l) files)"
