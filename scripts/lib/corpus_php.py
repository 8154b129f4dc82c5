"""PHP: the PHP libraries Debian installs under /usr/share/php, read by php-cli's token_get_all."""
import json
import os
import subprocess

from corpus_common import first_difference

LANGUAGE = "php"
LABEL = "PHP"
ROOT = "/usr/share/php"
TOKENS = os.path.join(os.path.dirname(os.path.realpath(__file__)), "php_tokens.php")


def setup():
    pass  # scripts/test installs php-cli and the libraries


def sources():
    return sorted(os.path.join(d, f) for d, _, fs in os.walk(ROOT) for f in fs
                  if f.endswith(".php") and os.path.isfile(os.path.join(d, f)))


def check(pair):
    source, output = pair
    run = subprocess.run(["php", "-d", "short_open_tag=0", TOKENS, source, output],
                         capture_output=True, check=True)
    (before, _), (after, comments) = [json.loads(line) for line in run.stdout.splitlines()]
    if before != after:
        return source, first_difference(before, after)
    if comments:
        return source, "%d comments left" % comments
    return None


def check_all(pairs, pool):
    return pool.map(check, pairs, 16)
