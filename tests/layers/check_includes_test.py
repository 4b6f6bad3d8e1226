#!/usr/bin/env python3
"""The include check against small trees of its own: it must find an include that points up a
layer and a circle of includes, and pass a tree that keeps the rules."""
import subprocess
import sys
import tempfile
import unittest
from pathlib import Path

CHECK = Path(__file__).with_name("check_includes.py")


def tree(files):
    root = Path(tempfile.mkdtemp())
    for name, text in files.items():
        (root / name).parent.mkdir(parents=True, exist_ok=True)
        (root / name).write_text(text)
    return root


def check(root):
    run = subprocess.run([sys.executable, str(CHECK), str(root)], capture_output=True, text=True)
    return run.returncode, run.stdout


class CheckIncludes(unittest.TestCase):
    def test_a_tree_that_keeps_the_rules_passes(self):
        root = tree({
            "core/A.h": '#include "platform/P.h"\n#include <vector>\n',
            "platform/P.h": "",
            "editor/E.cpp": '#include "core/A.h"\n#include "graphics/G.h"\n',
            "graphics/G.h": '#include "core/A.h"\n',
        })
        self.assertEqual(check(root)[0], 0)

    def test_an_include_from_a_higher_layer_is_named(self):
        root = tree({"core/A.cpp": '#include "editor/E.h"\n', "editor/E.h": ""})
        code, out = check(root)
        self.assertEqual(code, 1)
        self.assertIn("core/A.cpp includes editor/E.h", out)

    def test_controls_stand_apart_from_the_map(self):
        root = tree({"controls/C.h": '#include "core/A.h"\n', "core/A.h": ""})
        self.assertIn("controls/C.h includes core/A.h", check(root)[1])

    def test_a_circle_of_includes_is_named_once(self):
        root = tree({
            "core/A.h": '#include "core/B.h"\n',
            "core/B.h": '#include "core/C.h"\n',
            "core/C.h": '#include "core/A.h"\n',
            "core/D.h": '#include "core/A.h"\n',
        })
        code, out = check(root)
        self.assertEqual(code, 1)
        self.assertEqual(out.count("circle:"), 1)
        self.assertIn("core/A.h <-> core/B.h <-> core/C.h", out)
        self.assertNotIn("core/D.h", out)


if __name__ == "__main__":
    unittest.main()
