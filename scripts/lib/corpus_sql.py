"""SQL: the SQL files Debian installs (PostgreSQL's extension scripts and others), read by
PostgreSQL's own scanner through libpg-query."""
import corpus_tools
from corpus_common import DEBIAN_ROOTS, files_ending

LANGUAGE = "sql"
LABEL = "SQL"


def setup():
    corpus_tools.install()


def sources():
    return files_ending(DEBIAN_ROOTS, ".sql")


def check_all(pairs, pool):
    return corpus_tools.judge("pg_scan_judge.cjs", [], pairs, pool)

# Generated texts: these pieces in random order, where comments meet every kind of literal. Each
# piece closes what it opens, and no two run together into something else: no lone `$`, `/` or
# `*` (that open a dollar quote or a comment), a blank before what starts with `$` (a name would
# take it in), and a number or parameter ends where a letter cannot follow it.
EXTENSION = ".sql"
FRAGMENTS = [
    "-- c\n", "/* c */", "/* a /* b */ c */", "/*! kept */", "/*+ hint */", "'--'", "'it''s'",
    " E'\\'--'", " e'\\\\'", '"a--b"', '"q""q"', " $$--$$", " $t$ /* $t$", " $1 ", "a$b$", "select",
    " ", "\n", "- ", "/ ", "* ", "1 ", "x", ";", "(", ")", "E", "\t", "--\n", "/*x*/- ", "-/**/- ",
    # Numbers and parameters right against comments and operators.
    "1-- c\n", "$1/* c */", "(1)", "($2)", "1/**/",
    # A comment between a name and what would join it: a prefix, a dollar quote, a parameter.
    "x/* c */E'\\'--'", "b/**/$$x$$", "a/**/$1 ",
    # Literals and comments across line ends: a string continued on the next line, a dollar quote,
    # a nested comment and a quoted name that hold line ends and what would open a comment.
    "'a'\n-- c\n'b'", "x'a' /* c */\n'b'", " $q$ --\n/* $q$", "/* a\n/* -- */\n*/", '"x\n--"', "'--\n/*'",
]
