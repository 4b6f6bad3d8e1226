"""The seeded stream of the soak's inputs. Each input is drawn from the stream's own
generator alone, never from what the editor shows, so one seed gives the same inputs in
every run; positions are fractions of the map view, turned into pixels when sent."""

import random
from dataclasses import dataclass, field

# The key table, both cases.
MAP_KEYS = "GRLHCWIMSAVXOFEPN.,<>" + "grlhcwimsavxofepn"
CURSOR_KEYS = "8246"
# Characters the key table ignores: the other letters and digits, signs, Windows-1252
# letters, and characters that have no Windows-1252 byte or take two UTF-16 units.
OTHER_CHARACTERS = ("BDJKQTUYZbdjkqtuyz013579 !\"#$%&'()*+-/:;=?@[\\]^_`{|}~"
                    "\u00e9\u00df\u00c4\u00a7\u20ac\u0151\u4e2d\U0001F600")
# Keys that type nothing; F1 and the like are left out, they open windows of their own.
SILENT_KEYS = ("Left", "Right", "Up", "Down", "Home", "End", "Prior", "Next", "Insert",
               "Delete", "BackSpace", "KP_8", "KP_2", "KP_4", "KP_6", "KP_5", "Tab")
BUTTONS = ("Mechs", "Roads", "Fill", "Clear", "Reload")
# The View menu's keys: zoom in (two ways), out, actual size, fit, the hexes' coordinates.
VIEW_SHORTCUTS = ("ctrl+plus", "ctrl+equal", "ctrl+minus", "ctrl+0", "ctrl+slash", "ctrl+k")
# View's entries by their letters: Zoom In, Zoom Out, Actual Size, Fit Map, Hex Coordinates;
# Zoom and Show open submenus of steps and layers.
VIEW_ENTRIES = "ioafc"
LAYER_LETTERS = "hfswmrv"
ZOOM_STEPS = 10
# The Edit menu's broad edits, each reached by Alt+E and its access letter.
BROAD_EDITS = ("Cut", "Copy", "Paste", "Select All", "Deselect", "Flood Fill", "Point Symmetry",
               "Show Asymmetry", "Turn Map", "Make Symmetric", "Raise All Heights",
               "Lower All Heights")
# Their shortcuts: the clipboard, Select All, Flood Fill, Point Symmetry, and Escape, which
# deselects.
BROAD_SHORTCUTS = ("ctrl+a", "ctrl+c", "ctrl+x", "ctrl+v", "ctrl+v", "ctrl+b", "ctrl+b",
                   "ctrl+m", "Escape")


@dataclass
class Input:
    kind: str
    args: dict = field(default_factory=dict)

    def __str__(self):
        if not self.args:
            return self.kind
        details = ", ".join(f"{k}={_short(v)}" for k, v in self.args.items())
        return f"{self.kind} ({details})"


def _short(value):
    if isinstance(value, float):
        return f"{value:.3f}"
    if isinstance(value, list):
        return "[" + " ".join(_short(v) for v in value) + "]"
    return repr(value) if isinstance(value, str) else str(value)


class InputStream:
    """Weights are chances per thousand inputs."""

    def __init__(self, seed):
        self.rng = random.Random(f"inputs {seed}")
        self.table = [
            (400, self._map_key),
            (120, self._cursor_key),
            (25, self._other_character),
            (20, self._silent_key),
            (35, lambda: Input("enter", {"keypad": self.rng.random() < 0.2})),
            (20, lambda: Input("button", {"name": "Edit"})),
            (90, self._click),
            (50, self._drag),
            (25, self._context_menu),
            (25, self._wheel),
            (25, lambda: Input("button", {"name": self.rng.choice(BUTTONS[:4])})),
            (3, lambda: Input("button", {"name": "Reload"})),
            (10, lambda: Input("menu", {"entry": "New"})),
            (10, lambda: Input("menu", {"entry": "Random map"})),
            (2, lambda: Input("menu", {"entry": "Reload tiles"})),
            (4, lambda: Input("menu", {"entry": "Recent maps", "number": self.rng.randint(1, 8)})),
            (12, lambda: Input("menu", {"entry": "Undo"})),
            (8, lambda: Input("menu", {"entry": "Redo"})),
            (30, lambda: Input("shortcut", {"keys": "ctrl+z"})),
            (10, lambda: Input("shortcut", {"keys": "ctrl+shift+z"})),
            (10, lambda: Input("shortcut", {"keys": "ctrl+y"})),
            (4, lambda: Input("shortcut", {"keys": "ctrl+n"})),
            # Keys with Ctrl edit nothing; the period and comma were once taken for text.
            (8, lambda: Input("shortcut", {"keys": "ctrl+" + self.rng.choice(".,<>fgw")})),
            (4, self._save),
            (4, lambda: Input("quick save")),
            (4, self._resize),
            (20, lambda: Input("shortcut", {"keys": self.rng.choice(VIEW_SHORTCUTS)})),
            (12, self._view_menu),
            (20, self._select_drag),
            (40, lambda: Input("shortcut", {"keys": self.rng.choice(BROAD_SHORTCUTS)})),
            (24, lambda: Input("menu", {"entry": self.rng.choice(BROAD_EDITS)})),
        ]
        self.total = sum(weight for weight, _ in self.table)

    def next(self):
        pick = self.rng.randrange(self.total)
        for weight, make in self.table:
            if pick < weight:
                return make()
            pick -= weight
        raise AssertionError("weights do not add up")

    def _map_key(self):
        return Input("type", {"text": self.rng.choice(MAP_KEYS)})

    def _cursor_key(self):
        # Runs of one direction cross the map and scroll the view.
        key = self.rng.choice(CURSOR_KEYS)
        return Input("type", {"text": key * self.rng.choice((1, 1, 1, 3, 8))})

    def _other_character(self):
        return Input("type", {"text": self.rng.choice(OTHER_CHARACTERS)})

    def _silent_key(self):
        return Input("key", {"name": self.rng.choice(SILENT_KEYS)})

    def _point(self):
        return [self.rng.random(), self.rng.random()]

    def _click(self):
        return Input("click", {"at": self._point(), "double": self.rng.random() < 0.05})

    def _drag(self):
        # Now and then the pointer leaves the view while the button is held.
        points = [self._point()]
        for _ in range(self.rng.randint(1, 8)):
            x, y = points[-1]
            points.append([min(1.2, max(-0.2, x + self.rng.uniform(-0.15, 0.15))),
                           min(1.2, max(-0.2, y + self.rng.uniform(-0.15, 0.15)))])
        return Input("drag", {"path": [v for p in points for v in p]})

    def _select_drag(self):
        """A rectangle dragged with Shift, now and then with Ctrl too, which adds to the
        selection; its corners anywhere on the view."""
        return Input("select drag", {"path": self._point() + self._point(),
                                     "add": self.rng.random() < 0.3})

    def _context_menu(self):
        choice = self.rng.choice(("escape", "keys", "keys", "click"))
        args = {"at": self._point(), "choice": choice}
        if choice == "keys":
            args["downs"] = self.rng.randint(1, 24)
        elif choice == "click":
            args["row"] = self.rng.random()
        return Input("context menu", args)

    def _wheel(self):
        # With Ctrl the wheel zooms, keeping the point under the pointer.
        return Input("wheel", {"at": self._point(), "button": self.rng.choice((4, 5, 4, 5, 6, 7)),
                               "count": self.rng.randint(1, 5), "ctrl": self.rng.random() < 0.4})

    def _view_menu(self):
        pick = self.rng.random()
        if pick < 0.5:
            return Input("menu", {"entry": "View", "keys": [self.rng.choice(VIEW_ENTRIES)]})
        if pick < 0.75:
            return Input("menu", {"entry": "View", "keys": ["z"] + ["Down"] * self.rng.randrange(ZOOM_STEPS)
                                  + ["Return"]})
        return Input("menu", {"entry": "View", "keys": ["s", self.rng.choice(LAYER_LETTERS)]})

    def _resize(self):
        # Down to nothing of the map view, and now and then back to the designed size; large
        # enough for Files, Edit and Help to stay on the menu bar, where the soak clicks.
        if self.rng.random() < 0.3:
            return Input("resize", {"size": [792, 572]})
        return Input("resize", {"size": [self.rng.randint(300, 1000), self.rng.randint(40, 760)]})

    def _save(self):
        return Input("save", {"check": self.rng.choice(("reload", "check tool", "undo and redo")),
                              "same name": self.rng.random() < 0.2,
                              "steps": self.rng.randint(1, 8)})


class Answers:
    """How each question is answered, from a generator of its own, so that questions that
    come or not never shift the inputs."""

    def __init__(self, seed):
        self.rng = random.Random(f"answers {seed}")

    def question(self):
        return self.rng.choice(("y", "y", "n", "n", "Escape"))

    def replace(self):
        return self.rng.random() < 0.75


class Kills:
    """When the editor is killed and how, and how the question after the restart is answered,
    from a generator of its own."""

    def __init__(self, seed, every):
        self.rng = random.Random(f"kills {seed}")
        self.every = every

    def now(self):
        return self.rng.randrange(self.every) == 0

    def after_input(self):
        return self.rng.random() < 0.5

    def steps(self):
        return self.rng.randint(1, 3)

    def answer(self):
        return self.rng.choice(("y", "y", "y", "y", "n"))
