#!/usr/bin/python3
"""Draws all of Quillmark's pictures and its tick sound.

    /usr/bin/python3 tools/art/generate.py [--root DIR]

Writes into DIR (the repository by default): resources/images, resources/
hotspots, resources/app, resources/web/about.png and docs/art-contact-sheet.png,
and prints every file it wrote. Runs are repeatable: the same sources give
byte-identical files."""

import argparse
import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
# No __pycache__ beside the sources in the repository.
sys.dont_write_bytecode = True
sys.path.insert(0, HERE)

import brand  # noqa: E402
import buttons  # noqa: E402
import contact_sheet  # noqa: E402
import hotspots  # noqa: E402
import scenes  # noqa: E402
import sound  # noqa: E402
from output import Output  # noqa: E402

REPOSITORY = os.path.normpath(os.path.join(HERE, "..", ".."))


def main(argv):
    parser = argparse.ArgumentParser(description="Generate Quillmark's art and sound.")
    parser.add_argument("--root", default=REPOSITORY, help="folder to write into (default: the repository)")
    args = parser.parse_args(argv)
    out = Output(args.root)
    try:
        hotspots.write_all(out)
        buttons.write_all(out)
        scenes.write_all(out)
        brand.write_all(out)
        sound.write_all(out)
        contact_sheet.write_all(
            out, [icon[0] for icon in hotspots.ICONS], [name for name, _ in buttons.BUTTONS]
        )
    except OSError as error:
        print(f"generate.py: cannot write {error.filename}: {error.strerror}", file=sys.stderr)
        return 3
    except RuntimeError as error:
        print(f"generate.py: {error}", file=sys.stderr)
        return 1
    for target in out.written:
        print(out.relative(target))
    print(f"{len(out.written)} files written under {out.root}")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
