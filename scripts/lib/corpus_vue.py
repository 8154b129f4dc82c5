"""Vue: the single-file components npm's element-ui ships, read by Vue's own parser."""
import os

import corpus_tools
from corpus_common import files_ending

LANGUAGE = "vue"
LABEL = "Vue"


def setup():
    corpus_tools.install()


def sources():
    root = os.path.join(corpus_tools.install(), "element-ui")
    return files_ending([root], ".vue")


def check_all(pairs, pool):
    return corpus_tools.judge("vue_judge.cjs", [], pairs, pool)
