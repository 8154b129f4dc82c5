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

# Generated texts: these pieces in random order, where comments meet every kind of literal.
EXTENSION = ".sql"
FRAGMENTS = [
    "-- c\n", "/* c */", "/* a /* b */ c */", "/*! kept */", "/*+ hint */", "'--'", "'it''s'",
    "E'\\'--'", "e'\\\\'", '"a--b"', '"q""q"', "$$--$$", "$t$ /* $t$", "$1", "a$b$", "select",
    " ", "\n", "-", "/", "*", "1", "x", ";", "(", ")", "$", "E", "\t", "--", "/*x*/-", "-/**/-",
]
