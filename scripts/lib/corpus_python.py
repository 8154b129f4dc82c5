"""Python: the standard library and Debian's Python packages, read by Python's own tokenize."""
import io
import re
import tokenize

from corpus_common import files_ending, first_difference

LANGUAGE = "python"
LABEL = "Python"
# The standard library and the Python packages Debian installed.
ROOTS = ["/usr/lib/python3.11", "/usr/lib/python3/dist-packages"]
COOKIE = re.compile(r"^[ \t\f]*#.*?coding[:=][ \t]*[-\w.]+")


def setup():
    pass


def sources():
    return files_ending(ROOTS, ".py")


def read(path):
    """The file's tokens without comments and blank-line ends, and its comments; None when Python
    cannot tokenize it."""
    with open(path, "rb") as f:
        data = f.read()
    try:
        found = list(tokenize.tokenize(io.BytesIO(data).readline))
    except (tokenize.TokenError, SyntaxError, UnicodeDecodeError, LookupError):
        return None
    # A NEWLINE is read as one whatever its bytes: CR LF, LF, or none at the end of the text
    # (where the result has the line end the command line always writes).
    code = [(t.type, "\n" if t.type == tokenize.NEWLINE else t.string) for t in found
            if t.type not in (tokenize.COMMENT, tokenize.NL)]
    # tokenize gives a blank line after a backslash-continued line a NEWLINE of its own: an empty
    # logical line, nothing to Python, whether it stays or not.
    code = [t for i, t in enumerate(code)
            if not (t[0] == tokenize.NEWLINE and i and code[i - 1][0] == tokenize.NEWLINE)]
    comments = [t for t in found if t.type == tokenize.COMMENT]
    return code, comments


def kept(comment):
    """The comments that stay: the `#!` line and the encoding line."""
    row, column = comment.start
    return (row == 1 and column == 0 and comment.string.startswith("#!")) or (
        row <= 2 and COOKIE.match(comment.line) is not None)


def check(pair):
    source, output = pair
    before, after = read(source), read(output)
    if before is None:
        return "skipped"
    if after is None:
        return source, "result cannot be tokenized"
    if before[0] != after[0]:
        return source, first_difference(before[0], after[0])
    left = [c for c in after[1] if not kept(c)]
    if left:
        return source, "comment left: %r" % (left[0].string,)
    return None



def check_all(pairs, pool):
    return pool.map(check, pairs, 16)

# Generated texts: these pieces in random order, where comments meet every kind of string. Each
# piece closes what it opens (quotes, brackets, blocks, a comment's line), no piece but a comment
# line starts with blanks and no piece is a lone quote or an empty string (two of those run
# together into a triple quote), so that any order is text Python can tokenize.
EXTENSION = ".py"
# Every string prefix in every case, each with two kinds of quote.
PREFIXES = ["", "r", "u", "R", "U", "f", "F", "fr", "Fr", "fR", "FR", "rf", "rF", "Rf", "RF", "b",
            "B", "br", "Br", "bR", "BR", "rb", "rB", "Rb", "RB"]
QUOTES = ["'", '"', "'''", '"""']


def literal(prefix, quote):
    """A string holding `#`, an escaped quote, in f-strings a `{…}` and `{{#}}`, and a line end:
    backslash-continued in a one-line string, plain in a triple-quoted one."""
    body = "\\" + quote[0] + "#"
    if "f" in prefix.lower():
        body += "{x}{{#}}"
    body += "\n# a\n" if len(quote) == 3 else "\\\n#"
    return prefix + quote + body + quote


FRAGMENTS = [literal(p, QUOTES[(i + k) % 4]) for i, p in enumerate(PREFIXES) for k in (0, 1)] + [
    # Comments: alone on a line, indented, after code, at the end of a block, `#!` and an encoding
    # line away from the top.
    "# c\n", "#\n", "    # indented\n", "\t# tab\n", "x  # c\n", "#!x\n",
    "# -*- coding: latin-1 -*-\n",
    # Strings with `#`, quotes and nested f-strings.
    "'#'", '"#"', "'''\n# a\n'''", '"""#"""', 'f"{x:#x}"', "f'{d[\"#\"]}'", "f'{{#}}'",
    'rb"\\"#"', "F'{x!r:>{w}}#'", "f'''{f\"{y}#\"}'''", "u'x'", "'\\'#'", '"\'#\'"', "'\"#\"'",
    "'a''#'\"b\"",
    # Brackets that hold comments and line ends.
    "()", "(x,  # c\n 1)", "[\n# c\n  '#'  # d\n]", "{'#': f'{x}'  # e\n}", "(\\\n x)",
    # Backslash continuations, alone and before a comment.
    "\\\n", "x \\\n", "x \\\n# c\n",
    # Blocks that end where they started, with comments inside and at the left margin.
    "if x:  # c\n\tx = '#'\n# out\n\ty = (1,  # e\n\t     2)\n",
    "for a in b:\n    # c\n    if a:\n        pass  # d\n    # e\n",
    "x", "x ", "\n", "=", "1", "+", "if", ":", "x\t", ", ",
]
