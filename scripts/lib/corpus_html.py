"""HTML: the HTML documents Debian installs, read by parse5."""
import os

import corpus_tools

LANGUAGE = "html"
LABEL = "HTML"
ROOTS = ["/usr/share", "/usr/lib", "/etc"]


def setup():
    corpus_tools.install()


def sources():
    return sorted(os.path.join(d, f) for root in ROOTS for d, _, fs in os.walk(root) for f in fs
                  if f.endswith((".html", ".htm")) and os.path.isfile(os.path.join(d, f)))


def check_all(pairs, pool):
    return corpus_tools.judge("parse5_judge.cjs", [], pairs, pool)

# Generated texts: these pieces in random order, where comments meet attributes, raw text,
# declarations, <pre> and SVG and MathML with their integration points.
EXTENSION = ".html"
FRAGMENTS = [
    "<!-- c -->", "<p>", "</p>", "a", " ", "\n", '<a title="<!--x-->">', "<textarea>",
    "</textarea>", "<title>", "</title>", "<![CDATA[<!--]]>", "<!DOCTYPE html>", "<?x?>",
    "<!-->", "<!--->", "<!-- a --!>", "<", ">", "-->", "<!", "'", '"', "=", "<b x='>'>",
    "<svg>", "</svg>", "<xmp>", "</xmp>", "<!--", "--", "-", "<pre>", "</pre>", "<listing>",
    "<math>", "<mi>", "</math>", "<foreignObject>", "<annotation-xml encoding=text/html>",
    "<font color=r>",
]
