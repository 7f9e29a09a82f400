#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 The Tavrolin developers
"""Checks the running game's window on a real desktop compositor, as one
row of e2e_gnome.sh or e2e_kwin.sh:

 - over AT-SPI: a window titled "Tavrolin" with one menu bar;
 - the window's outer size: on Wayland, where only the compositor knows
   the frame, the size of its picture of the window alone, frame included
   and shadow left out (GNOME's screenshot tool, KWin's ScreenShot2); on
   X11 (XWayland) the client geometry and _NET_FRAME_EXTENTS;
 - where the main panel stands in the client area below the menu bar, read
   off that picture (on X11, a picture of the screen): the panel is the
   block of the surface's face colour 783 pixels wide, the client area the
   band of one colour around it. It must show whole and stand where the
   centring (panel_offset in windowlayout.sh) puts it for the outer size, a
   pixel either way;
 - a real click, through the compositor's own input (mutter's RemoteDesktop
   D-Bus interface; KWin's fake-input Wayland protocol), on the first
   square, found on a picture of the whole screen, scores a hit: player 1
   has one attempt and the turn passes to player 2;
 - maximised by the desktop (Super+Up on GNOME, a KWin script), the window
   changes size and the panel again stands whole where the centring puts it.

Prints the figures; on a fault says what is wrong and exits 1.
Usage: desktop_probe.py --desktop gnome|kwin --session wayland|xwayland
                        --layout windowlayout.sh --shots DIR [--keep PNG]
       (the session bus, WAYLAND_DISPLAY and DISPLAY come from the caller)"""

import argparse
import os
import socket
import struct
import subprocess
import sys
import time

import dbus
import pyatspi

FACE = (0xEF, 0xEF, 0xEF)  # the panel's
BTN_LEFT = 0x110
ME = "desktop_probe"


def fail(message):
    print("%s: FAIL: %s" % (ME, message), file=sys.stderr)
    sys.exit(1)


class Retry(Exception):
    """What the picture shows is not (yet) what is expected."""


def layout(script, function, *args):
    """What a function of windowlayout.sh answers, as whole numbers."""
    run = subprocess.run(["bash", "-c", '. "$0" && "$@"', script, function] + [str(a) for a in args],
                         capture_output=True, text=True, timeout=10)
    try:
        answer = tuple(int(v) for v in run.stdout.split())
    except ValueError:
        answer = ()
    if run.returncode != 0 or not answer:
        fail("windowlayout.sh: %s %s: %s" % (function, args, run.stderr.strip() or "no answer"))
    return answer


class Picture:
    """An RGB picture, 8 bits a channel."""

    def __init__(self, width, height, rgb, path=None):
        self.width, self.height, self.rgb, self.path = width, height, rgb, path

    @staticmethod
    def read(path):
        data = subprocess.run(["convert", path, "-depth", "8", "ppm:-"], check=True, capture_output=True,
                              timeout=30).stdout
        fields = data.split(maxsplit=4)  # P6, width, height, 255, pixels
        if fields[0] != b"P6" or fields[3] != b"255":
            fail("convert gave no 8-bit PPM for %s" % path)
        return Picture(int(fields[1]), int(fields[2]), fields[4], path)

    def at(self, x, y):
        if not (0 <= x < self.width and 0 <= y < self.height):
            raise Retry("(%d,%d) is off the picture" % (x, y))
        i = (y * self.width + x) * 3
        return tuple(self.rgb[i:i + 3])

    def save(self, path):
        with open(path + ".ppm", "wb") as f:
            f.write(b"P6 %d %d 255\n" % (self.width, self.height) + bytes(self.rgb))
        subprocess.run(["convert", path + ".ppm", "-strip", path], check=True, timeout=30)
        os.remove(path + ".ppm")
        self.path = path

    def panel_rows(self):
        """The rows whose longest run of the face colour is exactly the
        panel's width, as {y: left}."""
        face = bytes(FACE)
        rows = {}
        for y in range(self.height):
            row = self.rgb[y * self.width * 3:(y + 1) * self.width * 3]
            x, best, best_at = 0, 0, 0
            while x < self.width:
                if row[x * 3:x * 3 + 3] != face:
                    x += 1
                    continue
                start = x
                while x < self.width and row[x * 3:x * 3 + 3] == face:
                    x += 1
                if x - start > best:
                    best, best_at = x - start, start
            if best == PANEL[0]:
                rows[y] = best_at
        return rows


def find_panel(picture):
    """The panel's top left corner on the picture, and whether its top row
    shows whole: its bottom rows are face-coloured across its whole width,
    and so is its top row, unless something covers it."""
    rows = picture.panel_rows()
    if not rows:
        raise Retry("no row of the picture is the panel's face across %d pixels" % PANEL[0])
    bottom = max(rows)
    left, top = rows[bottom], bottom - PANEL[1] + 1
    return left, top, rows.get(top) == left


def run_to(picture, x, y, dx, dy, colour):
    """From (x, y), the last pixel of `colour` stepping by (dx, dy)."""
    while 0 <= x + dx < picture.width and 0 <= y + dy < picture.height and picture.at(x + dx, y + dy) == colour:
        x, y = x + dx, y + dy
    return x, y


def measure(window, client_width, client_height):
    """The panel's place in the client area below the menu bar, and that
    area's corner on the picture (of the window or the screen), given the
    area's size."""
    pl, pt, top_row_whole = find_panel(window)
    pr, pb = pl + PANEL[0] - 1, pt + PANEL[1] - 1
    # The band right of the panel, near its bottom (which always shows):
    # the client area's colour (navy, then the colour cycle's).
    band = window.at(pr + 1, pb - 20)
    if band == FACE:
        raise Retry("no client area right of the panel")
    right, _ = run_to(window, pr + 1, pb - 20, 1, 0, band)
    _, top = run_to(window, pr + 1, pb - 20, 0, -1, band)
    _, bottom = run_to(window, pr + 1, pb - 20, 0, 1, band)
    left = right - client_width + 1
    if bottom - top + 1 != client_height or left < 0:
        raise Retry("the band of #%02X%02X%02X right of the panel runs from row %d to %d and ends at column %d;"
                    " the client area below the menu bar is %dx%d"
                    % (band + (top, bottom, right, client_width, client_height)))
    return {"panel": (pl - left, pt - top), "client": (left, top), "band": band, "top row whole": top_row_whole}


# --- Pictures from the compositors -------------------------------------------

def gnome_shot(path, window_only):
    """GNOME's screenshot tool, through GNOME Shell: the screen, or the
    focused window with its frame and without its shadow."""
    args = ["gnome-screenshot", "-f", path] + (["-w", "-e", "none"] if window_only else [])
    run = subprocess.run(["timeout", "-k", "2", "15"] + args, capture_output=True, text=True)
    if run.returncode != 0 or not os.path.exists(path):
        raise Retry("gnome-screenshot %s: %s" % (" ".join(args[1:]), run.stderr.strip() or run.returncode))
    picture = Picture.read(path)
    return picture


def kwin_shot(path, window_only):
    """KWin's ScreenShot2: the workspace, or the active window with its
    frame and without its shadow. The picture comes raw through a pipe."""
    bus = dbus.SessionBus()
    shooter = dbus.Interface(bus.get_object("org.kde.KWin", "/org/kde/KWin/ScreenShot2"),
                             "org.kde.KWin.ScreenShot2")
    read_end, write_end = os.pipe()
    try:
        options = {"native-resolution": True}
        if window_only:
            options.update({"include-decoration": True, "include-cursor": False})
            meta = shooter.CaptureActiveWindow(options, dbus.types.UnixFd(write_end), timeout=15)
        else:
            meta = shooter.CaptureWorkspace(options, dbus.types.UnixFd(write_end), timeout=15)
    except dbus.DBusException as why:
        os.close(read_end)
        raise Retry("KWin's ScreenShot2: %s" % why.get_dbus_message())
    finally:
        os.close(write_end)
    chunks = []
    with os.fdopen(read_end, "rb") as pipe:
        while True:
            chunk = pipe.read(1 << 20)
            if not chunk:
                break
            chunks.append(chunk)
    data = b"".join(chunks)
    width, height, stride = int(meta["width"]), int(meta["height"]), int(meta["stride"])
    # QImage's 32-bit formats (RGB32, ARGB32, premultiplied or not), blue
    # first in memory; the window's pixels are opaque.
    if int(meta["format"]) not in (4, 5, 6) or len(data) < stride * height:
        fail("KWin's ScreenShot2 gave format %s, %d bytes for %dx%d" % (meta["format"], len(data), width, height))
    packed = b"".join(data[y * stride:y * stride + width * 4] for y in range(height))
    if window_only:
        # kwin 5.27 leaves the shadow (and Breeze's outline) in; both are
        # translucent, the window and its frame opaque.
        alpha = packed[3::4]
        rows = [y for y in range(height) if b"\xff" in alpha[y * width:(y + 1) * width]]
        if not rows:
            raise Retry("KWin's picture of the active window has no opaque pixel")
        left = min(alpha[y * width:(y + 1) * width].find(b"\xff") for y in rows)
        right = max(alpha[y * width:(y + 1) * width].rfind(b"\xff") for y in rows)
        packed = b"".join(packed[(y * width + left) * 4:(y * width + right + 1) * 4] for y in range(rows[0], rows[-1] + 1))
        width, height = right - left + 1, rows[-1] - rows[0] + 1
    rgb = bytearray(width * height * 3)
    rgb[0::3], rgb[1::3], rgb[2::3] = packed[2::4], packed[1::4], packed[0::4]
    picture = Picture(width, height, bytes(rgb))
    picture.save(path)
    return picture


# --- Real input from the compositors -----------------------------------------

def gnome_click(x, y):
    """A click at (x, y) on the screen through mutter's RemoteDesktop
    interface; absolute motion needs a screen-cast stream of the monitor
    (PipeWire), tied to the remote-desktop session."""
    bus = dbus.SessionBus()
    remote = dbus.Interface(bus.get_object("org.gnome.Mutter.RemoteDesktop", "/org/gnome/Mutter/RemoteDesktop"),
                            "org.gnome.Mutter.RemoteDesktop")
    session_path = remote.CreateSession()
    session_object = bus.get_object("org.gnome.Mutter.RemoteDesktop", session_path)
    session = dbus.Interface(session_object, "org.gnome.Mutter.RemoteDesktop.Session")
    session_id = session_object.Get("org.gnome.Mutter.RemoteDesktop.Session", "SessionId",
                                    dbus_interface="org.freedesktop.DBus.Properties")
    cast = dbus.Interface(bus.get_object("org.gnome.Mutter.ScreenCast", "/org/gnome/Mutter/ScreenCast"),
                          "org.gnome.Mutter.ScreenCast")
    cast_session = dbus.Interface(bus.get_object("org.gnome.Mutter.ScreenCast",
                                                 cast.CreateSession({"remote-desktop-session-id": session_id})),
                                  "org.gnome.Mutter.ScreenCast.Session")
    stream = cast_session.RecordMonitor("", {})
    session.Start()
    try:
        session.NotifyPointerMotionAbsolute(stream, float(x), float(y))
        time.sleep(0.2)
        session.NotifyPointerButton(BTN_LEFT, True)
        time.sleep(0.05)
        session.NotifyPointerButton(BTN_LEFT, False)
        time.sleep(0.3)
    finally:
        session.Stop()


def gnome_maximise():
    """Super+Up, GNOME's key for maximising the focused window, through
    mutter's RemoteDesktop interface (keys need no screen cast)."""
    bus = dbus.SessionBus()
    remote = dbus.Interface(bus.get_object("org.gnome.Mutter.RemoteDesktop", "/org/gnome/Mutter/RemoteDesktop"),
                            "org.gnome.Mutter.RemoteDesktop")
    session = dbus.Interface(bus.get_object("org.gnome.Mutter.RemoteDesktop", remote.CreateSession()),
                             "org.gnome.Mutter.RemoteDesktop.Session")
    session.Start()
    try:
        for keysym, pressed in [(0xFFEB, True), (0xFF52, True), (0xFF52, False), (0xFFEB, False)]:  # Super_L, Up
            session.NotifyKeyboardKeysym(dbus.UInt32(keysym), pressed)
            time.sleep(0.05)
        time.sleep(0.3)
    finally:
        session.Stop()


def kwin_maximise():
    """Maximises the active window through a KWin script, loaded and run
    over D-Bus."""
    path = os.path.join(os.environ["XDG_RUNTIME_DIR"], "tavrolin-maximise.js")
    with open(path, "w") as script:
        script.write("workspace.activeClient.setMaximize(true, true);\n")
    scripting = dbus.Interface(dbus.SessionBus().get_object("org.kde.KWin", "/Scripting"), "org.kde.kwin.Scripting")
    scripting.loadScript(path)
    scripting.start()


class Wayland:
    """Just enough of the Wayland wire protocol to bind one global and send
    it requests."""

    def __init__(self):
        path = os.path.join(os.environ["XDG_RUNTIME_DIR"], os.environ.get("WAYLAND_DISPLAY", "wayland-0"))
        self.sock = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
        self.sock.connect(path)
        self.next_id = 2
        self.buffer = b""

    def send(self, obj, opcode, payload=b""):
        self.sock.sendall(struct.pack("<II", obj, (8 + len(payload)) << 16 | opcode) + payload)

    @staticmethod
    def string(text):
        raw = text.encode() + b"\0"
        return struct.pack("<I", len(raw)) + raw + b"\0" * (-len(raw) % 4)

    def new_id(self):
        self.next_id += 1
        return self.next_id - 1

    def roundtrip(self):
        """All events until the server has handled every request so far."""
        callback = self.new_id()
        self.send(1, 0, struct.pack("<I", callback))  # wl_display.sync
        events = []
        while True:
            while len(self.buffer) < 8 or len(self.buffer) < struct.unpack("<HH", self.buffer[4:8])[1]:
                chunk = self.sock.recv(65536)
                if not chunk:
                    fail("the compositor closed the Wayland connection")
                self.buffer += chunk
            obj, opcode, size = struct.unpack("<IHH", self.buffer[:8])
            body, self.buffer = self.buffer[8:size], self.buffer[size:]
            if obj == 1 and opcode == 0:  # wl_display.error
                fail("Wayland protocol error: %r" % body)
            if obj == callback:
                return events
            events.append((obj, opcode, body))

    def bind(self, interface, version):
        registry = self.new_id()
        self.send(1, 1, struct.pack("<I", registry))  # wl_display.get_registry
        for obj, opcode, body in self.roundtrip():
            if obj != registry or opcode != 0:  # wl_registry.global
                continue
            name, length = struct.unpack("<II", body[:8])
            found = body[8:8 + length - 1].decode()
            offered = struct.unpack("<I", body[8 + length + (-length % 4):][:4])[0]
            if found == interface:
                new = self.new_id()
                self.send(registry, 0, struct.pack("<I", name) + self.string(interface) +
                          struct.pack("<II", min(version, offered), new))
                return new
        fail("the compositor offers no %s" % interface)
        return 0


def kwin_click(x, y):
    """A click at (x, y) on the screen through KWin's fake-input protocol
    (org_kde_kwin_fake_input version 3: pointer_motion_absolute)."""
    wl = Wayland()
    fake = wl.bind("org_kde_kwin_fake_input", 4)
    wl.send(fake, 0, wl.string("Tavrolin tests") + wl.string("clicks a square"))  # authenticate
    fixed = lambda v: struct.pack("<i", int(v * 256))  # noqa: E731 (wl_fixed_t)
    wl.send(fake, 9, fixed(x) + fixed(y))  # pointer_motion_absolute
    wl.roundtrip()
    time.sleep(0.2)
    wl.send(fake, 2, struct.pack("<II", BTN_LEFT, 1))  # button, pressed
    wl.roundtrip()
    time.sleep(0.05)
    wl.send(fake, 2, struct.pack("<II", BTN_LEFT, 0))  # button, released
    wl.roundtrip()
    wl.sock.close()


# --- The window as the accessibility bus has it -------------------------------

def find_app(until):
    while time.monotonic() < until:
        desktop = pyatspi.Registry.getDesktop(0)
        for i in range(desktop.childCount):
            app = desktop.getChildAtIndex(i)
            if app is not None and app.name == "tavrolin":
                return app
        time.sleep(0.3)
    fail("the game never showed up on the accessibility bus")
    return None


def children(node, role):
    found = (node.getChildAtIndex(i) for i in range(node.childCount))
    return [c for c in found if c is not None and c.getRoleName() == role]


def named(node, name):
    """The first object called `name` under node, or None."""
    if node.name == name:
        return node
    for i in range(node.childCount):
        child = node.getChildAtIndex(i)
        hit = named(child, name) if child is not None else None
        if hit is not None:
            return hit
    return None


def reads(app, name, expected, seconds=10):
    """Waits until the label called `name` reads `expected`; what it reads."""
    got = None
    until = time.monotonic() + seconds
    while time.monotonic() < until:
        node = named(app, name)
        got = node.description if node is not None else None
        if got == expected:
            break
        time.sleep(0.2)
    return got


def x_geometry():
    """On X11: the client geometry (x, y, width, height) and the frame
    extents (left, right, top, bottom) of the window titled Tavrolin."""
    def run(*args):
        return subprocess.run(list(args), capture_output=True, text=True, timeout=10).stdout
    ids = run("xdotool", "search", "--onlyvisible", "--name", "^Tavrolin$").split()
    if not ids:
        raise Retry("no X window is titled Tavrolin")
    extents = run("xprop", "-id", ids[0], "_NET_FRAME_EXTENTS").split("=")[-1].replace(",", " ").split()
    if len(extents) != 4 or not all(v.isdigit() for v in extents):
        raise Retry("window %s has no _NET_FRAME_EXTENTS yet" % ids[0])
    info = {}
    for line in run("xwininfo", "-id", ids[0]).splitlines():
        key, _, value = line.strip().partition(":")
        info[key] = value.strip()
    client = tuple(int(info[k]) for k in ("Absolute upper-left X", "Absolute upper-left Y", "Width", "Height"))
    return client, tuple(int(v) for v in extents)


def client_size(frame):
    """The client area below the menu bar, and the menu bar's height, as
    the accessibility bus has them."""
    menu = children(frame, "menu bar")[0].queryComponent().getExtents(pyatspi.DESKTOP_COORDS).height
    extents = frame.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    return (extents.width, extents.height - menu), menu


def placed(args, shoot, frame, phase, resized_from=None):
    """Where the panel stands in the window as the compositor frames it,
    polled until it stands where the centring puts it (the frame, a resize
    and the panel's move for them come a moment late) or for 25 s; fails
    when it is cut off or elsewhere. With resized_from, an outer size the
    window is leaving, waits for another. The figures."""
    figures, last, n = None, "no picture", 0
    until = time.monotonic() + 25
    while time.monotonic() < until:
        n += 1
        try:
            client, menu = client_size(frame)
            if args.session == "wayland":
                # The frame is known only to the compositor: its picture of
                # the window alone, frame included, has the outer size.
                picture = shoot(os.path.join(args.shots, "%s-window-%02d.png" % (phase, n)), True)
                outer, crop, note = (picture.width, picture.height), None, "the window's picture"
            else:
                # X11: the client geometry and the frame the window manager
                # publishes; the window is cut out of a picture of the screen.
                (cx, cy, cw, ch), (fl, fr, ft, fb) = x_geometry()
                outer = (cw + fl + fr, ch + ft + fb)
                crop = (cx - fl, cy - ft) + outer
                note = "X11: client %dx%d at (%d,%d), frame %d,%d,%d,%d (left, right, top, bottom)" % (
                    cw, ch, cx, cy, fl, fr, ft, fb)
                if (cw, ch) != (client[0], client[1] + menu):
                    raise Retry("the X11 window is %dx%d, the accessibility bus says %dx%d"
                                % (cw, ch, client[0], client[1] + menu))
                picture = shoot(os.path.join(args.shots, "%s-screen-%02d.png" % (phase, n)), False)
            if outer == resized_from:
                raise Retry("the window is still %dx%d" % outer)
            figures = measure(picture, *client)
            if crop is not None and figures["client"] != (cx, cy + menu):
                raise Retry("the client area below the menu bar is at %s on the screen; X11 puts it at (%d,%d)"
                            % (figures["client"], cx, cy + menu))
            figures.update(outer=outer, picture=picture, crop=crop, note=note, client_size=client,
                           expected=layout(args.layout, "panel_offset", *outer))
            off = [abs(a - b) for a, b in zip(figures["panel"], figures["expected"])]
            if max(off) <= 1 and figures["top row whole"]:
                break
            last = "panel at %s, expected %s" % (figures["panel"], figures["expected"])
        except Retry as why:
            last = str(why)
        time.sleep(0.5)
    if figures is None:
        fail("%s: the panel was never found on the window's picture: %s" % (phase, last))
    (pl, pt), (el, et), (ow, oh), client = figures["panel"], figures["expected"], figures["outer"], \
        figures["client_size"]
    print("%s: outer size %dx%d (%s); client area below the menu bar %dx%d at (%d,%d) of the picture,"
          " #%02X%02X%02X" % ((phase, ow, oh, figures["note"]) + client + figures["client"] + figures["band"]))
    print("%s: panel at (%d,%d) in the client area below the menu bar; the centring puts it at (%d,%d)"
          " for the outer size: off by (%d,%d)" % (phase, pl, pt, el, et, pl - el, pt - et))
    cut = pl < 0 or pt < 0 or pl + PANEL[0] > client[0] or pt + PANEL[1] > client[1] or not figures["top row whole"]
    if cut:
        fail("%s: part of the panel is cut off: %dx%d at (%d,%d) in a client area of %dx%d below the menu bar"
             % ((phase,) + PANEL + (pl, pt) + client))
    if abs(pl - el) > 1 or abs(pt - et) > 1:
        fail("%s: the panel stands at (%d,%d), the centring puts it at (%d,%d) for the outer size %dx%d"
             % (phase, pl, pt, el, et, ow, oh))
    return figures


def main():
    global PANEL
    parser = argparse.ArgumentParser(description="Checks the game's window on a desktop compositor.")
    parser.add_argument("--desktop", choices=["gnome", "kwin"], required=True)
    parser.add_argument("--session", choices=["wayland", "xwayland"], required=True)
    parser.add_argument("--layout", required=True, help="tests/e2e/windowlayout.sh")
    parser.add_argument("--shots", required=True, help="a folder for the pictures")
    parser.add_argument("--keep", help="where to keep the start-up picture of the window")
    args = parser.parse_args()
    global ME
    ME = "%s (%s, %s)" % (ME, args.desktop, args.session)
    PANEL = layout(args.layout, "panel_size")
    shoot = gnome_shot if args.desktop == "gnome" else kwin_shot
    click = gnome_click if args.desktop == "gnome" else kwin_click
    maximise = gnome_maximise if args.desktop == "gnome" else kwin_maximise
    started = time.monotonic()

    # The window, its title and its menu bar.
    app = find_app(started + 40)
    frame = None
    while frame is None and time.monotonic() < started + 40:
        frames = children(app, "frame")
        frame = frames[0] if frames else None
        if frame is None or not children(frame, "menu bar"):
            frame = None
            time.sleep(0.3)
    if frame is None:
        fail("the game shows no window with a menu bar on the accessibility bus")
    if frame.name != "Tavrolin":
        fail("the window is titled %r" % frame.name)
    print("window %r with a menu bar %d px high" % (frame.name, client_size(frame)[1]))

    figures = placed(args, shoot, frame, "start-up")
    if args.keep:
        crop = ["-crop", "%dx%d+%d+%d" % (figures["crop"][2:] + figures["crop"][:2]), "+repage"] \
            if figures["crop"] else []
        subprocess.run(["convert", figures["picture"].path] + crop + ["-strip", args.keep], check=True, timeout=30)

    # A real click on the first square of the scripts' games.
    try:
        screen = shoot(os.path.join(args.shots, "screen.png"), False)
        sx, sy, _ = find_panel(screen)
    except Retry as why:
        fail("the panel is not on the picture of the screen: %s" % why)
    bx, by = layout(args.layout, "board_origin", sx, sy)
    row, col = layout(args.layout, "hit_square", 0)
    x, y = layout(args.layout, "square_point", row, col, bx, by)
    print("panel at (%d,%d) on the screen; clicking the square in row %d, column %d at (%d,%d)"
          % (sx, sy, row, col, x, y))
    click(x, y)
    attempts = reads(app, "Player 1 attempts", "1")
    turn = reads(app, "Next turn is for player", "2")
    if (attempts, turn) != ("1", "2"):
        fail("after the click player 1's attempts read %r and the next turn %r, not '1' and '2'"
             % (attempts, turn))
    print("the click scored: player 1 has 1 attempt, the turn is player 2's")

    # Resized by the desktop: maximised, the panel follows.
    maximise()
    resized = placed(args, shoot, frame, "maximised", figures["outer"])
    if resized["outer"] == figures["outer"] or resized["panel"] == figures["panel"]:
        fail("maximised, the window is %dx%d with the panel at %s, as at start-up"
             % (resized["outer"] + (resized["panel"],)))


PANEL = (0, 0)
main()
