"""HTML: the HTML documents Debian installs, read by parse5."""
import corpus_tools
from corpus_common import DEBIAN_ROOTS, files_ending

LANGUAGE = "html"
LABEL = "HTML"


def setup():
    corpus_tools.install()


def sources():
    return files_ending(DEBIAN_ROOTS, (".html", ".htm"))


def check_all(pairs, pool):
    return corpus_tools.judge("parse5_judge.cjs", [], pairs, pool)

# Generated texts: these pieces in random order, where comments meet attributes, raw text,
# declarations, <pre> and SVG and MathML with their integration points, and a NUL in a tag's name.
EXTENSION = ".html"
FRAGMENTS = [
    "<!-- c -->", "<p>", "</p>", "a", " ", "\n", '<a title="<!--x-->">', "<textarea>",
    "</textarea>", "<title>", "</title>", "<![CDATA[<!--]]>", "<!DOCTYPE html>", "<?x?>",
    "<!-->", "<!--->", "<!-- a --!>", "<", ">", "-->", "<!", "'", '"', "=", "<b x='>'>",
    "<svg>", "</svg>", "<xmp>", "</xmp>", "<!--", "--", "-", "<pre>", "</pre>", "<listing>",
    "<math>", "<mi>", "</math>", "<foreignObject>", "<annotation-xml encoding=text/html>",
    "<font color=r>", "<svg\x00>",
]
