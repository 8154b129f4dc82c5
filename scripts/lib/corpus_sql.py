"""SQL: the SQL files Debian installs (PostgreSQL's extension scripts and others), read by
PostgreSQL's own scanner through libpg-query."""
import os

import corpus_tools

LANGUAGE = "sql"
LABEL = "SQL"
ROOTS = ["/usr/share", "/usr/lib", "/etc"]


def setup():
    corpus_tools.install()


def sources():
    return sorted(os.path.join(d, f) for root in ROOTS for d, _, fs in os.walk(root) for f in fs
                  if f.endswith(".sql") and os.path.isfile(os.path.join(d, f)))


def check_all(pairs, pool):
    return corpus_tools.judge("pg_scan_judge.cjs", [], pairs, pool)

# Generated texts: these pieces in random order, where comments meet every kind of literal.
EXTENSION = ".sql"
FRAGMENTS = [
    "-- c\n", "/* c */", "/* a /* b */ c */", "/*! kept */", "/*+ hint */", "'--'", "'it''s'",
    "E'\\'--'", "e'\\\\'", '"a--b"', '"q""q"', "$$--$$", "$t$ /* $t$", "$1", "a$b$", "select",
    " ", "\n", "-", "/", "*", "1", "x", ";", "(", ")", "$", "E", "\t", "--", "/*x*/-", "-/**/-",
]
