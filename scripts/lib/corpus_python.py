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

# Generated texts: these pieces in random order, where comments meet every kind of string.
EXTENSION = ".py"
FRAGMENTS = [
    "# c\n", "x", " ", "\n", "'#'", '"#"', "'''\n# a\n'''", 'f"{x:#x}"', "f'{d[\"#\"]}'",
    "f'{{#}}'", 'rb"\\"#"', "Rb'#'", "bR'#'", "F'{x!r:>{w}}#'", "f'''{f\"{y}#\"}'''", "(", ")",
    "=", "1", "+", "\\\n", "u'x'", "'\\'#'", "if", ":", "\t", "\"\"\"#\"\"\"", "#", "'", '"',
]
