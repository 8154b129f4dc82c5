"""XML: the XML and SVG documents Debian installs, read by libxml2's xmllint. Both texts are put
in canonical form (which keeps comments); the result's must be the source's without its comments,
white space runs read as one space, and hold none. In canonical form a `<` in text or attribute
values is written `&lt;`, so every `<!--` there opens a comment."""
import os
import re
import subprocess

import corpus_tools
from corpus_common import DEBIAN_ROOTS, files_ending

LANGUAGE = "xml"
LABEL = "XML, SVG"
COMMENT = re.compile(rb"<!--.*?-->", re.S)
SPACE = re.compile(rb"\s+")


def setup():
    corpus_tools.install_debian_packages()


def sources():
    return files_ending(DEBIAN_ROOTS, (".xml", ".svg", ".xhtml"))


def canonical(path, folder):
    """The text in canonical form; a DTD it names is looked for in `folder`, the source's."""
    run = subprocess.run(["xmllint", "--nonet", "--path", folder, "--c14n", path],
                         capture_output=True)
    return run.stdout if run.returncode == 0 else None


def check(pair):
    source, output = pair
    before = canonical(source, os.path.dirname(source))
    if before is None:
        return "skipped"
    after = canonical(output, os.path.dirname(source))
    if after is None:
        return source, "result is not well-formed"
    if b"<!--" in after:
        return source, "comments left"
    expected = SPACE.sub(b" ", COMMENT.sub(b" ", before)).strip()
    actual = SPACE.sub(b" ", after).strip()
    if expected != actual:
        at = next((i for i, (x, y) in enumerate(zip(expected, actual)) if x != y),
                  min(len(expected), len(actual)))
        return source, "at %d: source %r, result %r" % (at, expected[at:at + 40],
                                                        actual[at:at + 40])
    return None


def check_all(pairs, pool):
    return pool.map(check, pairs, 16)
