"""Shell: the shell scripts Debian installs (a `#!` line naming sh or bash, or a .sh name), read
by tree-sitter's bash grammar."""
import os
import re

import corpus_tools

LANGUAGE = "shell"
LABEL = "shell"
ROOTS = ["/usr/bin", "/usr/sbin", "/usr/lib", "/usr/share", "/etc"]
SHEBANG = re.compile(rb"#![ \t]*(/usr)?/bin/(env[ \t]+)?(ba|da)?sh\b")


def setup():
    corpus_tools.install()


def is_script(path):
    if not os.path.isfile(path) or os.path.islink(path):
        return False
    if path.endswith((".sh", ".bash")):
        return True
    with open(path, "rb") as f:
        return SHEBANG.match(f.read(64)) is not None


def sources():
    return sorted(os.path.join(d, f) for root in ROOTS for d, _, fs in os.walk(root) for f in fs
                  if is_script(os.path.join(d, f)))


def check_all(pairs, pool):
    grammar = os.path.join(corpus_tools.install(), "tree-sitter-bash/tree-sitter-bash.wasm")
    return corpus_tools.judge("tree_sitter_judge.cjs", [grammar], pairs, pool)
