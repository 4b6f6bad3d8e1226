#!/usr/bin/python3
"""Soak test: the real editor under a seeded random stream of keys, clicks, drags, menu
commands and answers, on an X server of its own, saving and checking maps along the way.

    tests/soak/soak.py --editor build-asan/app/gridcrafter
                       --sprites build-asan/tools/gridcrafter-sprites
                       --check build-asan/tools/gridcrafter-check
                       [--seed N] [--inputs 5000] [--time-limit 900] [--keep DIR]
                       [--kill-every N]

Runs with Debian's python3 and python3-xlib, and needs Xvfb. The seed (printed first;
taken from the clock when not given) fixes the inputs and the answers, so the same seed
and count replay a run. Every input is sent once the editor has taken the one before
(it echoes a ping after reading its events), every question is answered at random, and
at random moments the map is saved through the save dialog (Ctrl+Shift+S) and checked:
20480 bytes, and the same bytes again after loading it back, after the check tool read it,
or after undos and as many redos; Ctrl+S saves a map that has a file back into it at once.
At the end the editor must still answer, save, close with status 0, and leave no sanitizer
report in its log and no recovery file; the last map saved must pass the check tool.

With --kill-every N, about once in N inputs the soak makes a map it knows (saved, some steps
undone and saved again, then redone: unsaved, and the bytes of the first save), sends SIGKILL
after three seconds of quiet or right after one more input, starts the editor again and
answers the question about the unsaved changes; Yes must bring back that map (the map the
editor showed at least two seconds before the kill), its name and its unsaved state, which a
save right after the restore and the question before New show.

On a failure it prints the seed, the input number, the last 50 inputs and the editor's
log, keeps a screenshot and the work folder, and exits with 1; 2 for wrong arguments.
"""

import traceback
import argparse
import collections
import os
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import time

from inputs import Answers, Input, InputStream, Kills, OTHER_CHARACTERS

try:
    from Xlib.error import XError
    from xsession import XFailure, XSession
except ImportError as missing:  # python3-xlib, as ctest's other X runs skip without their tools
    print(f"SKIP: {missing}; the soak needs Debian's python3 and python3-xlib")
    sys.exit(77)

MAIN_PREFIX = "Korvane Grid"
CAPTION = "Korvane Gridcrafter : "
TITLE_SCREEN = "Korvane : Gridcraft"
LOADING = "Korvane"
SAVE_DIALOG = "Write Map File"
OPEN_DIALOG = "Load Map File"
ERROR_BOX = "Gridcraft"
# Windows the stream never asks for; if one shows, it is closed.
STRAY_WINDOWS = ("Write Bitmap File", "Print", "Gridcraft Help", "System Info", "About Gridcrafter")
MAP_BYTES = 20480
# The main window below its menu, as designed; its controls in client coordinates.
CLIENT_HEIGHT = 554
BUTTON_CENTRES = {"Mechs": (34, 12), "Roads": (86, 12), "Fill": (150, 12), "Clear": (221, 12),
                  "Reload": (297, 12), "Edit": (645, 12)}
# The access letters of the Edit menu's entries.
EDIT_LETTERS = {"Undo": "u", "Redo": "r", "Cut": "t", "Copy": "c", "Paste": "p", "Select All": "a",
                "Deselect": "d", "Flood Fill": "f", "Point Symmetry": "s", "Show Asymmetry": "y",
                "Turn Map": "n", "Make Symmetric": "m", "Raise All Heights": "h",
                "Lower All Heights": "l"}
# The map view inside its frame, scroll bars included: its left and top, and what the window
# has beside it across and below the menu.
MAP_VIEW = (10, 34, 26, 58)
FILES_MENU_X = 20  # the title Files in the menu bar, at its middle
SANITIZER_REPORTS = re.compile(r"AddressSanitizer|LeakSanitizer|UndefinedBehaviorSanitizer|"
                               r"runtime error|ThreadSanitizer")
# A slow sanitized editor is waited for, a hung one is not.
ANSWER_TIMEOUT = 120
# An edit is in the recovery file at most this many seconds later; the soak waits longer.
RECOVERY_DELAY = 2
QUIET_BEFORE_KILL = 3
# Inputs that may replace the whole map, which is kept at once: a kill right after one may
# find the map before it or after it.
WHOLE_MAP_INPUTS = {("shortcut", "ctrl+z"), ("shortcut", "ctrl+shift+z"), ("shortcut", "ctrl+y"),
                    ("shortcut", "ctrl+n"), ("button", "Clear"), ("button", "Reload")}


def may_replace_whole_map(step):
    return step.kind == "menu" or (step.kind, step.args.get("keys") or step.args.get("name")) in WHOLE_MAP_INPUTS


class Failure(Exception):
    pass


class Soak:
    def __init__(self, args):
        self.args = args
        self.inputs = InputStream(args.seed)
        self.answers = Answers(args.seed)
        self.kills = Kills(args.seed, args.kill_every) if args.kill_every else None
        self.killed = 0
        self.restored = 0
        self.recent = collections.deque(maxlen=50)
        self.number = 0
        self.saves = 0
        self.questions = 0
        self.map_count = 0
        self.last_saved = None
        self.deadline = time.monotonic() + args.time_limit
        self.work = args.keep or tempfile.mkdtemp(prefix="gc-soak-")
        self.maps = os.path.join(self.work, "maps")
        self.log_path = os.path.join(self.work, "editor.log")
        self.recovery = os.path.join(self.work, "state", "gridcrafter", "recovery")
        self.x = None
        self.editor = None
        self.main = None

    # ---- the run

    def run(self):
        self.lay_out_game()
        self.x = XSession()
        # Bound before the editor starts: a change of the keyboard map later would reach it
        # as an event of its own in the middle of the run.
        for ch in OTHER_CHARACTERS:
            self.x.keycode(self.x.keysym_of(ch))
        self.start_editor()
        self.start_up()
        while self.number < self.args.inputs:
            self.number += 1
            self.check_deadline()
            step = self.inputs.next()
            self.note(f"{self.number}: {step}")
            self.close_late_popups()
            self.perform(step)
            self.settle()
            self.deal_with_windows()
            self.check_caption()
            if self.kills and self.kills.now():
                self.kill_and_restore()
            if self.number % 1000 == 0:
                print(f"soak: {self.number} inputs, {self.saves} maps saved", flush=True)
        self.number = self.args.inputs + 1
        self.note("end: a last save, then Ctrl+Q")
        self.save_and_check({"check": "reload", "same name": False, "steps": 0})
        self.close_editor()
        self.check_log()
        self.check_no_recovery("after a normal close")
        self.check_with_tool(self.last_saved)

    def lay_out_game(self):
        game = os.path.join(self.work, "game")
        os.makedirs(os.path.join(game, "Sprites"), exist_ok=True)
        os.makedirs(os.path.join(game, "Gridcrafter"), exist_ok=True)
        os.makedirs(self.maps, exist_ok=True)
        subprocess.run([self.args.sprites, os.path.join(game, "Sprites")], check=True,
                       stdout=subprocess.DEVNULL)

    def start_editor(self):
        env = dict(os.environ)
        env.pop("QT_QPA_PLATFORM", None)
        env["DISPLAY"] = self.x.name
        # Preferences of this run alone: no window place or recent maps of another.
        env["XDG_CONFIG_HOME"] = os.path.join(self.work, "config")
        # Recovery files of this run alone.
        env["XDG_STATE_HOME"] = os.path.join(self.work, "state")
        runtime = os.path.join(self.work, "runtime")
        os.makedirs(runtime, mode=0o700, exist_ok=True)
        env["XDG_RUNTIME_DIR"] = runtime
        self.log = open(self.log_path, "wb")
        self.editor = subprocess.Popen([self.args.editor], cwd=os.path.join(self.work, "game", "Gridcrafter"),
                                       env=env, stdin=subprocess.DEVNULL, stdout=self.log,
                                       stderr=subprocess.STDOUT)

    def start_up(self):
        self.note("start: the title screen, the settings warning")
        self.main = self.wait_for(lambda: self.newest(lambda w: w.name.startswith(MAIN_PREFIX)),
                                  "main window")
        self.wait_for(lambda: self.caption() == CAPTION + "NewMap" and not self.others(),
                      "clean map after the start-up", self.press_through_start)
        self.measure_window()

    def measure_window(self):
        x, y, width, height = self.x.geometry(self.main)
        self.menu_height = height - CLIENT_HEIGHT
        self.origin = (x, y + self.menu_height)
        self.menu_bar_y = y + self.menu_height // 2
        self.measure_view()

    def measure_view(self):
        _, _, width, height = self.x.geometry(self.main)
        left, top, beside, below = MAP_VIEW
        self.view = (left, top, max(0, width - beside), max(0, height - self.menu_height - below))

    def press_through_start(self):
        """The title screen's Start button and the first start's warning take Return."""
        for window in self.others():
            if window.name in (TITLE_SCREEN, "Warning"):
                self.answer(window, "Return")

    def close_editor(self):
        self.x.focus(self.main)
        self.x.key("q", ["Control_L"])
        deadline = time.monotonic() + ANSWER_TIMEOUT
        while self.editor.poll() is None:
            if time.monotonic() > deadline:
                raise Failure("Ctrl+Q did not end the editor")
            question = self.named("Warning")
            if question:
                self.note("  the editor asked before closing: No")
                self.x.focus(question)
                self.x.key("n")
                # Its answer ends the editor, which then echoes no pings: waited for as such.
                self.wait_for(lambda: not self.alive() or not self.shown(question), "answer taken")
            self.x.pump(0.2)
        if self.editor.returncode != 0:
            raise Failure(f"the editor ended with status {self.editor.returncode}")

    def check_caption(self):
        """The map is the new one, a random one, or a file that this run saved."""
        caption = self.caption()
        if not caption:
            # The window goes before its process has ended.
            deadline = time.monotonic() + 10
            while self.alive() and time.monotonic() < deadline:
                self.x.pump(0.1)
            self.check_alive()
            raise Failure("the main window has no caption")
        name = caption[len(CAPTION):]
        if not caption.startswith(CAPTION) or not (
                name in ("NewMap", "Random") or
                (os.path.dirname(name) == self.maps and os.path.isfile(name))):
            raise Failure(f"the caption reads {caption!r}")

    def check_log(self):
        self.log.flush()
        with open(self.log_path, "rb") as f:
            text = f.read().decode("utf-8", "replace")
        if SANITIZER_REPORTS.search(text):
            raise Failure("a sanitizer reported in the editor's log")

    def note(self, line):
        self.recent.append(line)
        if self.args.verbose:
            print(line, flush=True)

    # ---- waiting

    def alive(self):
        return self.editor.poll() is None

    def check_deadline(self):
        if time.monotonic() > self.deadline:
            raise Failure(f"the run took longer than its time limit of {self.args.time_limit} s")

    def check_alive(self):
        if not self.alive():
            raise Failure(f"the editor ended with status {self.editor.returncode}")

    def settle(self):
        """Returns once the editor has read every input so far and handled it: the second
        ping is read only after the events that came with the first were delivered."""
        for _ in range(2):
            timeout = min(ANSWER_TIMEOUT, max(1, self.deadline - time.monotonic()))
            if not self.x.ping(self.main, self.alive, timeout):
                self.check_alive()
                self.check_deadline()
                raise Failure(f"the editor did not answer for {timeout:.0f} s")

    def wait_for(self, found, what, meanwhile=None, timeout=ANSWER_TIMEOUT):
        deadline = min(time.monotonic() + timeout, self.deadline)
        while True:
            result = found()
            if result:
                return result
            self.check_alive()
            if time.monotonic() > deadline:
                self.check_deadline()
                raise Failure(f"no {what} after {timeout} s")
            if meanwhile:
                meanwhile()
            self.x.pump(0.1)

    # ---- windows

    def newest(self, match):
        for window in reversed(self.x.windows()):
            if not window.popup and match(window):
                return window
        return None

    def named(self, name):
        return self.newest(lambda w: w.name == name)

    def others(self):
        return [w for w in self.x.windows() if self.main is None or w.id != self.main.id]

    def caption(self):
        return self.x.caption(self.main)

    def deal_with_windows(self):
        """Answers what the last input opened, newest window first, until only the main
        window is left."""
        for _ in range(40):
            windows = self.others()
            if not windows:
                return
            window = windows[-1]
            if window.popup:
                self.x.key("Escape")
                self.settle()
            elif window.name == "Warning":
                answer = self.answers.question()
                self.questions += 1
                self.note(f"  answered a question: {answer}")
                self.answer(window, answer)
            elif window.name == "Information":
                self.answer(window, "Return")
            elif window.name == LOADING:
                self.wait_for(lambda: not self.shown(window), "end of the sprite loading")
            elif window.name == ERROR_BOX:
                raise Failure("the editor showed an error box; the screenshot shows its text")
            elif window.name in (SAVE_DIALOG, OPEN_DIALOG) + STRAY_WINDOWS:
                self.note(f"  closed the stray window {window.name!r}")
                self.answer(window, "Escape")
            else:
                raise Failure(f"a window the soak does not know: {window}")
        raise Failure("windows stay open: " + ", ".join(map(str, self.others())))

    def shown(self, window):
        return any(w.id == window.id for w in self.x.windows())

    def answer(self, window, key):
        """Sends a key to a window and waits a little for it to close: a button's letter
        clicks it with an animation of 100 ms, and a second key meanwhile starts it anew."""
        self.x.focus(window)
        self.x.key(key)
        self.settle()
        deadline = time.monotonic() + 3
        while self.shown(window) and time.monotonic() < deadline:
            self.x.pump(0.05)

    # ---- inputs

    def client(self, cx, cy):
        return self.origin[0] + cx, self.origin[1] + cy

    def map_point(self, fx, fy):
        left, top, width, height = self.view
        return self.client(left + fx * width, top + fy * height)

    def perform(self, step: Input):
        a = step.args
        kind = step.kind
        if kind == "type":
            self.x.focus(self.main)
            self.x.type(a["text"])
        elif kind == "key":
            self.x.focus(self.main)
            self.x.key(a["name"])
        elif kind == "enter":
            self.x.focus(self.main)
            self.x.key("KP_Enter" if a["keypad"] else "Return")
        elif kind == "shortcut":
            self.x.focus(self.main)
            *modifiers, key = a["keys"].split("+")
            self.x.key(key, [{"ctrl": "Control_L", "shift": "Shift_L"}[m] for m in modifiers])
        elif kind == "button":
            self.x.click(*self.client(*BUTTON_CENTRES[a["name"]]))
        elif kind == "click":
            self.x.click(*self.map_point(*a["at"]))
            if a["double"]:
                self.x.click(*self.map_point(*a["at"]))
        elif kind == "drag":
            self.drag(a["path"])
        elif kind == "select drag":
            held = ["Shift_L", "Control_L"] if a["add"] else ["Shift_L"]
            self.x.hold(held, True)
            self.drag(a["path"])
            self.x.hold(held, False)
        elif kind == "wheel":
            self.x.move(*self.map_point(*a["at"]))
            if a["ctrl"]:
                self.x.focus(self.main)
                self.x.hold(["Control_L"], True)
            for _ in range(a["count"]):
                self.x.button(a["button"], True)
                self.x.button(a["button"], False)
            if a["ctrl"]:
                self.x.hold(["Control_L"], False)
        elif kind == "context menu":
            self.context_menu(a)
        elif kind == "menu":
            self.menu(a)
        elif kind == "save":
            self.save_and_check(a)
        elif kind == "quick save":
            self.quick_save()
        elif kind == "resize":
            self.x.resize(self.main, *a["size"])
            self.settle()
            self.measure_view()
        else:
            raise AssertionError(kind)

    def drag(self, path):
        points = [self.map_point(path[i], path[i + 1]) for i in range(0, len(path), 2)]
        self.x.move(*points[0])
        self.x.button(1, True)
        for point in points[1:]:
            self.x.move(*point)
        self.x.button(1, False)

    def popup(self):
        windows = [w for w in self.x.windows() if w.popup]
        return windows[-1] if windows else None

    def wait_for_popup(self, timeout, other_than=None):
        """A menu may map a moment after the editor echoed the pings for the input that
        opened it, the longer the busier the machine."""
        deadline = time.monotonic() + timeout
        while True:
            menu = self.popup()
            if menu and menu.id != other_than:
                return menu
            self.check_alive()
            if time.monotonic() > deadline:
                return None
            self.x.pump(0.02)

    def close_late_popups(self):
        """A menu that mapped after its input was dealt with would take the next keys."""
        while self.popup():
            self.note("  closed a menu that showed late")
            self.x.key("Escape")
            self.settle()

    def context_menu(self, a):
        self.x.click(*self.map_point(*a["at"]), number=3)
        self.settle()
        # None on the corner between the scroll bars, or where a small window has no view.
        menu = self.wait_for_popup(3 if self.view[2] and self.view[3] else 0)
        if not menu:
            return
        if a["choice"] == "escape":
            self.x.key("Escape")
        elif a["choice"] == "keys":
            for _ in range(a["downs"]):
                self.x.key("Down")
            self.x.key("Return")
        else:
            try:
                x, y, width, height = self.x.geometry(menu)
            except XError:
                return  # closed meanwhile
            self.x.click(x + width // 2, y + 3 + a["row"] * (height - 6))

    def open_menu(self, title):
        """Files by a click on its title, which has no access letter; Edit and View by Alt and
        their letters. A second click would close a menu that is only slow to show, so it comes
        late, if at all."""
        for attempt in range(2):
            if title == "Files":
                self.x.click(self.origin[0] + FILES_MENU_X, self.menu_bar_y)
            else:
                self.x.focus(self.main)
                self.x.key(title[0].lower(), ["Alt_L"])
            self.settle()
            if self.wait_for_popup(10 if attempt == 0 else ANSWER_TIMEOUT):
                return
            self.note(f"  no menu after 10 s: {title} again")
        raise Failure(f"{title} opened no menu")

    def menu(self, a):
        entry = a["entry"]
        if entry in EDIT_LETTERS:
            self.open_menu("Edit")
            self.x.key(EDIT_LETTERS[entry])
            return
        if entry == "View":
            self.open_menu("View")
            for key in a["keys"]:
                self.x.key(key)
            return
        self.open_menu("Files")
        self.x.key({"New": "n", "Random map": "m", "Reload tiles": "r", "Recent maps": "c"}[entry])
        if entry == "Recent maps":
            self.settle()
            self.x.key(str(a["number"]))

    # ---- saving and checking

    def new_map_path(self, same_name):
        if same_name and self.last_saved:
            return self.last_saved[:-len(".KVX")]
        self.map_count += 1
        return os.path.join(self.maps, f"map{self.map_count:04d}")

    def save_and_check(self, a):
        typed = self.new_map_path(a["same name"])
        first = self.save(typed)
        if first is None:
            return
        check = a["check"]
        if check == "reload":
            self.load(first)
        elif check == "check tool":
            self.check_with_tool(first)
        else:
            for keys in (["Control_L"], ["Control_L", "Shift_L"]):
                self.x.focus(self.main)
                for _ in range(a["steps"]):
                    self.x.key("z", keys)
                self.settle()
                self.deal_with_windows()
        second = self.save(self.new_map_path(False))
        if second is None:
            raise Failure("the second save of a check was not made")
        self.compare(first, second, check)

    def save(self, typed):
        """Saves through the dialog under the name typed; the file's path, or None when the
        question before replacing a file was answered No."""
        dialog = self.command("s", SAVE_DIALOG, ["Shift_L"])
        replacing = os.path.exists(typed + ".KVX")
        self.type_into(dialog, typed)
        if replacing:
            question = self.wait_for(lambda: self.replace_question(dialog), "question before replacing a file")
            if not self.answers.replace():
                self.note("  keeps the file: No, then the dialog cancelled")
                self.answer(question, "n")
                self.answer(dialog, "Escape")
                self.expect_no_windows("after a cancelled save")
                return None
            self.note("  replaces the file: Yes")
            self.answer(question, "y")
        notice = self.wait_for(lambda: self.named("Information") or self.named(ERROR_BOX),
                               "notice that the map was saved")
        if notice.name == ERROR_BOX:
            raise Failure("the save failed with an error box; the screenshot shows its text")
        self.answer(notice, "Return")
        self.expect_no_windows("after a save")
        path = typed + ".KVX"
        if self.caption() != CAPTION + path:
            raise Failure(f"after saving {path} the caption reads {self.caption()!r}")
        size = os.path.getsize(path)
        if size != MAP_BYTES:
            raise Failure(f"{path} holds {size} bytes")
        self.saves += 1
        self.last_saved = path
        return path

    def command(self, key, dialog, more=()):
        """Ctrl+key (with the modifiers more) and the dialog it opens, nothing else; sent again
        when a menu that showed late took it."""
        name = "+".join(["Ctrl", *(m.split("_")[0] for m in more), key.upper()])
        for _ in range(3):
            self.close_late_popups()
            self.x.focus(self.main)
            self.x.key(key, ["Control_L", *more])
            self.settle()
            window = self.wait_for(lambda: self.popup() or (self.others() or [None])[-1],
                                   f"dialog after {name}")
            if not window.popup:
                if window.name != dialog:
                    raise Failure(f"{name} opened {window}, not the dialog {dialog!r}")
                return window
        raise Failure(f"menus kept taking {name}")

    def quick_save(self):
        """Ctrl+S puts a map that has a file back into it with nothing to answer, a clean map
        of 20480 bytes; a map without one gets the save dialog, which is cancelled here."""
        path = self.caption()[len(CAPTION):]
        if not os.path.isabs(path):
            self.answer(self.command("s", SAVE_DIALOG), "Escape")
            self.expect_no_windows("after a cancelled save")
            return
        self.close_late_popups()
        self.x.focus(self.main)
        self.x.key("s", ["Control_L"])
        self.settle()
        self.expect_no_windows(f"after Ctrl+S on {path}")
        size = os.path.getsize(path)
        if size != MAP_BYTES:
            raise Failure(f"{path} holds {size} bytes after Ctrl+S")
        self.check_with_tool(path)

    def replace_question(self, dialog):
        """QFileDialog asks in a box titled like itself."""
        boxes = [w for w in self.x.windows() if w.name == SAVE_DIALOG and w.id != dialog.id]
        return boxes[-1] if boxes else None

    def type_into(self, dialog, text):
        self.x.focus(dialog)
        self.x.key("a", ["Control_L"])
        self.x.type(text)
        self.settle()
        self.x.key("Return")
        self.settle()

    def load(self, path):
        dialog = self.command("o", OPEN_DIALOG)
        self.type_into(dialog, path)
        self.expect_no_windows("after loading a map")
        if self.caption() != CAPTION + path:
            raise Failure(f"after loading {path} the caption reads {self.caption()!r}")

    def expect_no_windows(self, when):
        """What a command opened has closed once the editor took the input that ended it; an
        unmapped window may take a moment to be told."""
        deadline = time.monotonic() + 10
        while self.others():
            if self.named(ERROR_BOX):
                raise Failure(f"an error box {when}; the screenshot shows its text")
            if time.monotonic() > deadline:
                raise Failure(f"windows open {when}: " + ", ".join(map(str, self.others())))
            self.x.pump(0.1)

    def check_with_tool(self, path):
        """Every map the editor makes is clean: its keys keep heights, ground codes and flags
        in range, and it writes each cell's own place."""
        status = subprocess.run([self.args.check, path], stdout=subprocess.PIPE,
                                stderr=subprocess.STDOUT, timeout=ANSWER_TIMEOUT)
        if status.returncode != 0:
            raise Failure(f"gridcrafter-check found {path} wanting (status {status.returncode}): "
                          + status.stdout.decode(errors="replace"))

    def compare(self, first, second, how):
        with open(first, "rb") as a, open(second, "rb") as b:
            one, two = a.read(), b.read()
        if one == two:
            return
        offset = next(i for i in range(min(len(one), len(two))) if one[i] != two[i])
        cell = offset // 20
        raise Failure(f"{os.path.basename(second)} differs from {os.path.basename(first)} after "
                      f"the check by {how}: first at byte {offset}, cell ({cell // 32 + 1}, "
                      f"{cell % 32 + 1}) byte {offset % 20}")


    # ---- kills

    def kill_and_restore(self):
        """A map the soak knows, left unsaved; SIGKILL after quiet or right after an input;
        the editor started again and its recovery checked."""
        self.killed += 1
        after_input = self.kills.after_input()
        steps = self.kills.steps()
        self.note(f"kill {self.killed}: a known map, {steps} steps undone, saved and redone, then "
                  + ("one input and SIGKILL" if after_input else f"{QUIET_BEFORE_KILL} s of quiet and SIGKILL"))
        known = self.save(self.new_map_path(False))
        with open(known, "rb") as f:
            expected = f.read()
        self.undo_and_redo(["Control_L"], steps)
        undone = self.save(self.new_map_path(False))
        with open(undone, "rb") as f:
            # Steps that change no byte leave it open whether anything was undone.
            unsaved = f.read() != expected
        self.undo_and_redo(["Control_L", "Shift_L"], steps)
        name = self.caption()
        self.quiet(QUIET_BEFORE_KILL)
        kept = self.recovery_files()
        if unsaved and len(kept) != 1:
            raise Failure(f"{len(kept)} recovery files {QUIET_BEFORE_KILL} s after the map was "
                          "left unsaved")
        exact = True
        if after_input:
            last = self.inputs.next()
            while last.kind == "save":
                last = self.inputs.next()
            self.note(f"  {last}, then SIGKILL at once")
            self.perform(last)
            exact = not may_replace_whole_map(last)
        self.editor.kill()
        self.editor.wait()
        self.check_log()
        self.log.close()
        os.replace(self.log_path, os.path.join(self.work, f"editor-killed-{self.killed}.log"))
        self.restart(expected if exact else None, name, must_ask=unsaved and exact)

    def undo_and_redo(self, keys, steps):
        self.x.focus(self.main)
        for _ in range(steps):
            self.x.key("z", keys)
        self.settle()
        self.deal_with_windows()

    def quiet(self, seconds):
        end = time.monotonic() + seconds
        while time.monotonic() < end:
            self.check_alive()
            self.x.pump(0.1)

    def recovery_files(self):
        if not os.path.isdir(self.recovery):
            return []
        return sorted(f for f in os.listdir(self.recovery) if f.endswith(".recovery"))

    def check_no_recovery(self, when):
        left = self.recovery_files()
        if left:
            raise Failure(f"recovery files left {when}: {', '.join(left)}")

    def restart(self, expected, name, must_ask):
        """Starts the editor again; expected: the bytes the restored map must hold, or None
        where the last input may have replaced the map. A question may come where the soak
        cannot tell whether the map was unsaved (it knows only when the undone steps changed
        bytes); must_ask where it knows."""
        self.note("restart: the title screen, then the question about the unsaved changes")
        self.start_editor()
        self.main = self.wait_for(lambda: self.newest(lambda w: w.name.startswith(MAIN_PREFIX)),
                                  "main window after the restart")
        question = self.wait_for(self.question_or_clean_map, "question or clean map after the restart")
        question = question if question is not True else None
        self.measure_window()
        if question is None:
            if must_ask:
                raise Failure("no question about the unsaved changes after the kill")
            self.note("  no question")
            return
        answer = self.kills.answer()
        self.note(f"  answered the question about the unsaved changes: {answer}")
        self.answer(question, answer)
        # The box goes first; the restore follows before the editor answers again.
        self.settle()
        self.expect_no_windows("after the question about the unsaved changes")
        if answer == "n":
            if self.caption() != CAPTION + "NewMap":
                raise Failure(f"after No to the restore the caption reads {self.caption()!r}")
            self.settle()
            self.check_no_recovery("after No to the restore")
            return
        self.restored += 1
        if expected is not None and self.caption() != name:
            raise Failure(f"the restored map is named {self.caption()!r}, not {name!r}")
        self.expect_unsaved()
        restored = self.save(self.new_map_path(False))
        if expected is not None:
            self.compare_restored(expected, restored)
        self.settle()
        self.check_no_recovery("after the restored map was saved")

    def question_or_clean_map(self):
        """The question's window, True for the clean map with no question, or None yet. The
        question follows the clean map within one handler, before the editor answers again."""
        for window in self.others():
            if window.name == TITLE_SCREEN:
                self.answer(window, "Return")
        if self.caption() != CAPTION + "NewMap" or any(w.name == TITLE_SCREEN for w in self.others()):
            return None
        # The box may be mapped anew as it settles: taken once the editor answered after it.
        self.settle()
        return self.named("Warning") or (True if not self.others() else None)

    def expect_unsaved(self):
        """New asks before discarding unsaved edits; No keeps them."""
        self.x.focus(self.main)
        self.x.key("n", ["Control_L"])
        self.settle()
        question = self.wait_for(lambda: self.named("Warning") or self.caption() == CAPTION + "NewMap",
                                 "question before New")
        if question is True:
            raise Failure("the restored map was not unsaved: New asked nothing")
        self.answer(question, "n")
        self.expect_no_windows("after keeping the restored map")

    def compare_restored(self, expected, path):
        with open(path, "rb") as f:
            got = f.read()
        if got != expected:
            offset = next((i for i in range(min(len(got), len(expected))) if got[i] != expected[i]),
                          min(len(got), len(expected)))
            cell = offset // 20
            raise Failure(f"the restored map {os.path.basename(path)} differs from the map shown "
                          f"before the kill: first at byte {offset}, cell ({cell // 32 + 1}, "
                          f"{cell % 32 + 1})")

    # ---- failure

    def report(self, message):
        out = sys.stdout
        where = (f"input {self.number} of {self.args.inputs}" if self.number <= self.args.inputs
                 else "the end of the run")
        print(f"soak: FAILED at {where} (seed {self.args.seed}): {message}", file=out)
        print(f"soak: replay with --seed {self.args.seed} --inputs {self.args.inputs}", file=out)
        print("soak: the last inputs:", file=out)
        for line in self.recent:
            print("  " + line, file=out)
        if self.x:
            shot = os.path.join(self.work, "failure.png")
            try:
                self.x.screenshot(shot)
                print(f"soak: screenshot {shot}", file=out)
            except Exception as e:  # the report goes on without it
                print(f"soak: no screenshot ({e})", file=out)
        if os.path.exists(self.log_path):
            with open(self.log_path, "rb") as f:
                lines = f.read().decode("utf-8", "replace").splitlines()
            print(f"soak: the editor's log ({len(lines)} lines{', the last 300' if len(lines) > 300 else ''}):",
                  file=out)
            for line in lines[-300:]:
                print("  editor: " + line, file=out)
        print(f"soak: work folder kept: {self.work}", file=out)

    def stop(self):
        # Asked first, so that a wrapper round the editor can take its child along.
        if self.editor and self.editor.poll() is None:
            self.editor.terminate()
            try:
                self.editor.wait(5)
            except subprocess.TimeoutExpired:
                self.editor.kill()
                self.editor.wait()
        if self.x:
            self.x.close()


    def abandon(self):
        """The end when even the report hangs: nothing the soak started is left running."""
        for process in (self.editor, self.x and self.x.server):
            if process and process.poll() is None:
                process.kill()
        print("soak: the report did not finish; stopped", flush=True)
        os._exit(1)


def parse_arguments():
    parser = argparse.ArgumentParser(description="Soak test of the Gridcrafter editor.")
    parser.add_argument("--editor", required=True)
    parser.add_argument("--sprites", required=True, help="gridcrafter-sprites")
    parser.add_argument("--check", required=True, help="gridcrafter-check")
    parser.add_argument("--seed", type=int, default=int(time.time()))
    parser.add_argument("--inputs", type=int, default=5000)
    parser.add_argument("--time-limit", type=int, default=900, help="seconds for the whole run")
    parser.add_argument("--verbose", action="store_true", help="print each input as it is sent")
    parser.add_argument("--keep", help="work folder, kept (default: a temporary one, kept on failure)")
    parser.add_argument("--kill-every", type=int, default=0, metavar="N",
                        help="SIGKILL the editor about once in N inputs and check its recovery")
    args = parser.parse_args()
    for tool in (args.editor, args.sprites, args.check):
        if not os.access(tool, os.X_OK):
            parser.error(f"{tool} is not a program")
    args.editor, args.sprites, args.check = map(os.path.abspath, (args.editor, args.sprites, args.check))
    if args.keep:
        args.keep = os.path.abspath(args.keep)
        if os.path.exists(args.keep) and os.listdir(args.keep):
            parser.error(f"{args.keep} is not empty")
    return args


def main():
    args = parse_arguments()
    if not shutil.which("Xvfb"):
        print("SKIP: Xvfb is not installed")
        return 77
    print(f"soak: seed {args.seed}, {args.inputs} inputs, editor {args.editor}", flush=True)
    soak = Soak(args)

    # The last guard against a hang: every wait is bounded, this bounds the run itself,
    # and then the report.
    def overtime(*_):
        signal.signal(signal.SIGALRM, lambda *_: soak.abandon())
        signal.alarm(60)
        raise Failure(f"the run was stopped after {args.time_limit + 60} s")
    signal.signal(signal.SIGALRM, overtime)
    signal.alarm(args.time_limit + 60)
    began = time.monotonic()
    try:
        soak.run()
    except (Failure, XFailure) as failure:
        soak.report(str(failure))
        return 1
    except Exception as failure:  # a fault of the soak itself is reported the same way
        traceback.print_exc()
        soak.report(f"{type(failure).__name__}: {failure}")
        return 1
    finally:
        signal.alarm(0)
        soak.stop()
    kills = f", {soak.killed} kills, {soak.restored} maps restored" if args.kill_every else ""
    print(f"soak: passed: {args.inputs} inputs, {soak.saves} maps saved and checked, {soak.questions} "
          f"questions answered{kills}, in {time.monotonic() - began:.0f} s (seed {args.seed})")
    if not args.keep:
        shutil.rmtree(soak.work, ignore_errors=True)
    return 0


if __name__ == "__main__":
    sys.exit(main())
