#!/usr/bin/python3
"""Reruns the art generator into a scratch folder and compares every file it
writes, byte for byte, with the committed one; also checks that the
committed art folders hold nothing the generator does not make, and that a
folder it cannot write to is reported.

    /usr/bin/python3 tests/resources/check_reproducible.py [REPOSITORY]"""

import filecmp
import os
import subprocess
import sys
import tempfile
import unittest

DEFAULT_ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..")
ROOT = os.path.abspath(sys.argv.pop(1) if len(sys.argv) > 1 else DEFAULT_ROOT)
GENERATOR = os.path.join(ROOT, "tools", "art", "generate.py")
# The generator runs under the same Python as this check.
PYTHON = sys.executable
# Folders that hold generated files only.
OWNED_FOLDERS = ["resources/images", "resources/hotspots", "resources/app"]
OWNED_FILES = ["resources/web/about.png", "docs/art-contact-sheet.png"]


def tree(folder):
    found = set()
    for base, _, names in os.walk(folder):
        for name in names:
            found.add(os.path.relpath(os.path.join(base, name), folder))
    return found


class Reproducible(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.scratch = tempfile.TemporaryDirectory(prefix="quillmark-art-")
        cls.run_result = subprocess.run(
            [PYTHON, GENERATOR, "--root", cls.scratch.name], capture_output=True, text=True, check=False
        )
        cls.fresh = tree(cls.scratch.name)

    @classmethod
    def tearDownClass(cls):
        cls.scratch.cleanup()

    def test_generator_succeeds_and_lists_what_it_wrote(self):
        self.assertEqual(self.run_result.returncode, 0, self.run_result.stderr)
        summary = f"under {self.scratch.name}"
        listed = {line for line in self.run_result.stdout.splitlines() if not line.endswith(summary)}
        self.assertEqual(listed, self.fresh)

    def test_every_generated_file_matches_the_committed_one(self):
        self.assertGreater(len(self.fresh), 100)
        for relative in sorted(self.fresh):
            with self.subTest(file=relative):
                committed = os.path.join(ROOT, relative)
                self.assertTrue(os.path.isfile(committed), "not committed")
                self.assertTrue(
                    filecmp.cmp(committed, os.path.join(self.scratch.name, relative), shallow=False),
                    "differs from a fresh run: regenerate with tools/art/generate.py",
                )

    def test_art_folders_hold_only_generated_files(self):
        committed = set(OWNED_FILES)
        for folder in OWNED_FOLDERS:
            committed |= {os.path.join(folder, name) for name in tree(os.path.join(ROOT, folder))}
        expected = {f for f in self.fresh if any(f.startswith(d + "/") for d in OWNED_FOLDERS)}
        expected |= set(OWNED_FILES)
        self.assertEqual(committed, expected)

    def test_unwritable_destination_is_reported(self):
        with tempfile.NamedTemporaryFile(prefix="quillmark-art-") as blocker:
            # A plain file where the output folder should be.
            result = subprocess.run(
                [PYTHON, GENERATOR, "--root", blocker.name], capture_output=True, text=True, check=False
            )
        self.assertEqual(result.returncode, 3)
        self.assertIn("cannot write", result.stderr)
        self.assertIn(blocker.name, result.stderr)


if __name__ == "__main__":
    unittest.main(verbosity=1)
