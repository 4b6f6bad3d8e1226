"""An X server of the soak's own (Xvfb) and one connection to it: the top-level windows as
they come and go, keys and pointer through XTEST, pings that tell when a client has read
everything sent before them, and screenshots.

Without a window manager every top-level window is a child of the root, placed where its
client put it, and the input focus goes where it is set."""

import os
import select
import shutil
import struct
import subprocess
import time
import zlib

from Xlib import X, XK, Xatom, display, error
from Xlib.ext import xtest
from Xlib.protocol import event

SCREEN = (1024, 768)


class XFailure(Exception):
    """The X server failed or a client stopped answering."""


class Window:
    def __init__(self, xwin, name, popup):
        self.xwin = xwin
        self.id = xwin.id
        self.name = name
        self.popup = popup

    def __repr__(self):
        return f"{'popup' if self.popup else 'window'} 0x{self.id:x} {self.name!r}"


class XSession:
    def __init__(self):
        xvfb = shutil.which("Xvfb")
        if not xvfb:
            raise XFailure("Xvfb is not installed")
        # -displayfd lets the server take a free display number itself, so parallel
        # servers of other runs never collide.
        read_end, write_end = os.pipe()
        self.server = subprocess.Popen(
            [xvfb, "-displayfd", str(write_end), "-screen", "0", f"{SCREEN[0]}x{SCREEN[1]}x24",
             "-nolisten", "tcp"],
            pass_fds=(write_end,), stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
            stderr=subprocess.DEVNULL)
        os.close(write_end)
        number = self._read_display_number(read_end)
        self.name = f":{number}"
        self.d = display.Display(self.name)
        # Errors of requests on windows that vanished meanwhile are expected and harmless.
        self.d.set_error_handler(lambda *_: None)
        if not self.d.has_extension("XTEST"):
            raise XFailure("the X server has no XTEST extension")
        self.root = self.d.screen().root
        # Qt answers pings on the root with StructureNotify; SubstructureNotify tells of the
        # windows that are mapped and unmapped.
        self.root.change_attributes(event_mask=X.SubstructureNotifyMask | X.StructureNotifyMask)
        atom = self.d.intern_atom
        self.WM_PROTOCOLS = atom("WM_PROTOCOLS")
        self.PING = atom("_NET_WM_PING")
        self.NET_WM_NAME = atom("_NET_WM_NAME")
        self.UTF8 = atom("UTF8_STRING")
        self.WINDOW_TYPE = atom("_NET_WM_WINDOW_TYPE")
        self.POPUP_TYPES = {atom(n) for n in (
            "_NET_WM_WINDOW_TYPE_POPUP_MENU", "_NET_WM_WINDOW_TYPE_DROPDOWN_MENU",
            "_NET_WM_WINDOW_TYPE_COMBO", "_NET_WM_WINDOW_TYPE_TOOLTIP")}
        self.mapped = []  # in the order they were mapped, newest last
        self.pings = {}
        self.ping_serial = 0
        for child in self.root.query_tree().children:
            self._on_map(child)
        self.d.flush()

    def _read_display_number(self, fd):
        deadline = time.monotonic() + 30
        text = b""
        while not text.endswith(b"\n"):
            if time.monotonic() > deadline or self.server.poll() is not None:
                raise XFailure("Xvfb did not start")
            ready, _, _ = select.select([fd], [], [], 0.5)
            if ready:
                chunk = os.read(fd, 16)
                if not chunk:
                    raise XFailure("Xvfb did not start")
                text += chunk
        os.close(fd)
        return int(text)

    def close(self):
        try:
            self.d.close()
        except Exception:
            pass
        self.server.terminate()
        try:
            self.server.wait(10)
        except subprocess.TimeoutExpired:
            self.server.kill()
            self.server.wait()

    # ---- windows

    def _window_name(self, xwin):
        # Read whole in one request: read in parts, a caption that changes meanwhile comes
        # out cut or empty.
        prop = xwin.get_property(self.NET_WM_NAME, self.UTF8, 0, 4096)
        if prop is not None and prop.format == 8:
            return bytes(prop.value).decode("utf-8", "replace")
        prop = xwin.get_property(Xatom.WM_NAME, X.AnyPropertyType, 0, 4096)
        return bytes(prop.value).decode("latin-1") if prop is not None and prop.format == 8 else ""

    def _on_map(self, xwin):
        try:
            attributes = xwin.get_attributes()
            if attributes.map_state != X.IsViewable:
                return
            types = xwin.get_full_property(self.WINDOW_TYPE, Xatom.ATOM)
            popup = bool(attributes.override_redirect) or bool(
                types and self.POPUP_TYPES.intersection(types.value))
            name = self._window_name(xwin)
        except error.XError:
            return
        self._forget(xwin.id)
        self.mapped.append(Window(xwin, name, popup))

    def _forget(self, wid):
        self.mapped = [w for w in self.mapped if w.id != wid]

    def pump(self, timeout=0.0):
        """Handles every event that has come; waits up to timeout for the first when none."""
        if not self.d.pending_events() and timeout > 0:
            select.select([self.d], [], [], timeout)
        while self.d.pending_events():
            ev = self.d.next_event()
            if ev.type == X.MapNotify and ev.event == self.root:
                self._on_map(ev.window)
            elif ev.type in (X.UnmapNotify, X.DestroyNotify) and ev.event == self.root:
                self._forget(ev.window.id)
            elif ev.type == X.ClientMessage and ev.client_type == self.WM_PROTOCOLS:
                data = ev.data[1]
                if data[0] == self.PING:
                    self.pings[data[2]] = max(self.pings.get(data[2], 0), data[1])

    def windows(self):
        """The visible top-level windows, newest last."""
        self.pump()
        return list(self.mapped)

    def caption(self, window):
        try:
            return self._window_name(window.xwin)
        except error.XError:
            return None

    def geometry(self, window):
        """(x, y, width, height) on the screen."""
        g = window.xwin.get_geometry()
        origin = window.xwin.translate_coords(self.root, 0, 0)
        return (-origin.x, -origin.y, g.width, g.height)

    def ping(self, window, alive, timeout):
        """Asks the window's client to echo a ping; true once it has, which it does only after
        reading every event sent before. alive() is asked meanwhile; false stops the wait."""
        self.ping_serial += 1
        serial = self.ping_serial
        message = event.ClientMessage(window=window.xwin, client_type=self.WM_PROTOCOLS,
                                      data=(32, [self.PING, serial, window.id, 0, 0]))
        try:
            window.xwin.send_event(message, event_mask=0)
            self.d.flush()
        except error.XError:
            return False
        deadline = time.monotonic() + timeout
        while self.pings.get(window.id, 0) < serial:
            remaining = deadline - time.monotonic()
            if remaining <= 0 or not alive():
                return False
            self.pump(min(remaining, 0.2))
        return True

    def resize(self, window, width, height):
        """As a user does with the frame a window manager draws."""
        window.xwin.configure(width=width, height=height)
        self.d.flush()

    def focus(self, window):
        """Gives window the keyboard as a window manager would. Set anew even where it is
        already: Qt may have moved the focus there itself while a menu held the keyboard,
        and then sends the keys to the window it had before."""
        if self.d.get_input_focus().focus == window.xwin:
            self.d.set_input_focus(X.PointerRoot, X.RevertToPointerRoot, X.CurrentTime)
        window.xwin.set_input_focus(X.RevertToParent, X.CurrentTime)
        self.d.flush()

    # ---- keys

    def keycode(self, keysym):
        """(keycode, shifted) for a keysym, binding it to a spare keycode when the keyboard
        map has none."""
        for code, index in self.d.keysym_to_keycodes(keysym):
            if index in (0, 1):
                return code, index == 1
        first = self.d.display.info.min_keycode
        count = self.d.display.info.max_keycode - first + 1
        mapping = self.d.get_keyboard_mapping(first, count)
        for offset, syms in enumerate(mapping):
            if not any(syms):
                code = first + offset
                self.d.change_keyboard_mapping(code, [[keysym] * len(syms)])
                self.d.sync()
                self.d.refresh_keyboard_mapping(event.MappingNotify(
                    request=X.MappingKeyboard, first_keycode=code, count=1))
                return code, False
        raise XFailure(f"no keycode left for keysym 0x{keysym:x}")

    @staticmethod
    def keysym_of(key):
        """A keysym name ("Return", "KP_8"), or one character."""
        if len(key) == 1:
            code = ord(key)
            return code if code < 0x100 else 0x01000000 | code
        keysym = XK.string_to_keysym(key)
        if not keysym:
            raise XFailure(f"no keysym {key}")
        return keysym

    def key(self, key, modifiers=()):
        """Presses and releases key (see keysym_of) with the modifier keys held, by name."""
        code, shifted = self.keycode(self.keysym_of(key))
        held = [self.keycode(self.keysym_of(m))[0] for m in modifiers]
        if shifted and "Shift_L" not in modifiers:
            held.append(self.keycode(XK.XK_Shift_L)[0])
        for m in held:
            xtest.fake_input(self.d, X.KeyPress, m)
        xtest.fake_input(self.d, X.KeyPress, code)
        xtest.fake_input(self.d, X.KeyRelease, code)
        for m in reversed(held):
            xtest.fake_input(self.d, X.KeyRelease, m)
        self.d.flush()

    def hold(self, keys, press):
        """Presses the keys by name, in order, and leaves them held; or releases them, in the
        opposite order."""
        codes = [self.keycode(self.keysym_of(k))[0] for k in keys]
        for code in (codes if press else reversed(codes)):
            xtest.fake_input(self.d, X.KeyPress if press else X.KeyRelease, code)
        self.d.flush()

    def type(self, text):
        for ch in text:
            self.key(ch)

    # ---- pointer

    def move(self, x, y):
        xtest.fake_input(self.d, X.MotionNotify, x=int(x), y=int(y))
        self.d.flush()

    def button(self, number, press):
        xtest.fake_input(self.d, X.ButtonPress if press else X.ButtonRelease, number)
        self.d.flush()

    def click(self, x, y, number=1):
        self.move(x, y)
        self.button(number, True)
        self.button(number, False)

    # ---- screenshots

    def screenshot(self, path):
        width, height = SCREEN
        image = self.root.get_image(0, 0, width, height, X.ZPixmap, 0xFFFFFFFF)
        data = image.data if isinstance(image.data, bytes) else image.data.encode("latin-1")
        rgb = bytearray(width * height * 3)
        rgb[0::3] = data[2::4]
        rgb[1::3] = data[1::4]
        rgb[2::3] = data[0::4]
        rows = b"".join(b"\0" + bytes(rgb[y * width * 3:(y + 1) * width * 3]) for y in range(height))

        def chunk(kind, body):
            return (struct.pack(">I", len(body)) + kind + body +
                    struct.pack(">I", zlib.crc32(kind + body) & 0xFFFFFFFF))

        with open(path, "wb") as out:
            out.write(b"\x89PNG\r\n\x1a\n")
            out.write(chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)))
            out.write(chunk(b"IDAT", zlib.compress(rows, 6)))
            out.write(chunk(b"IEND", b""))

