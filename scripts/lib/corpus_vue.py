"""Vue: the single-file components npm's element-ui ships, read by Vue's own parser."""
import os

import corpus_tools

LANGUAGE = "vue"
LABEL = "Vue"


def setup():
    corpus_tools.install()


def sources():
    root = os.path.join(corpus_tools.install(), "element-ui")
    return sorted(os.path.join(d, f) for d, _, fs in os.walk(root) for f in fs
                  if f.endswith(".vue"))


def check_all(pairs, pool):
    return corpus_tools.judge("vue_judge.cjs", [], pairs, pool)
