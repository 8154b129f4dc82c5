"""PHP: the PHP libraries Debian installs under /usr/share/php, read by php-cli's token_get_all."""
import json
import os
import subprocess

import corpus_tools
from corpus_common import files_ending, first_difference

LANGUAGE = "php"
LABEL = "PHP"
ROOT = "/usr/share/php"
TOKENS = os.path.join(os.path.dirname(os.path.realpath(__file__)), "php_tokens.php")


def setup():
    corpus_tools.install_debian_packages()


def sources():
    return files_ending([ROOT], ".php")


def check_batch(pairs):
    """The verdicts on a batch of pairs, read by one php process."""
    names = [name for pair in pairs for name in pair]
    run = subprocess.run(["php", "-d", "short_open_tag=0", TOKENS] + names, capture_output=True,
                         check=True)
    read = [json.loads(line) for line in run.stdout.splitlines()]
    verdicts = []
    for (source, _), (before, _), (after, comments) in zip(pairs, read[0::2], read[1::2]):
        if before != after:
            verdicts.append((source, first_difference(before, after)))
        elif comments:
            verdicts.append((source, "%d comments left" % comments))
        else:
            verdicts.append(None)
    return verdicts


def check_all(pairs, pool):
    batches = [pairs[start:start + 100] for start in range(0, len(pairs), 100)]
    return sum(pool.map(check_batch, batches), [])

# Generated texts: these pieces in random order, where comments meet every kind of literal and
# the tags.
EXTENSION = ".php"
FRAGMENTS = [
    "<?php ", "?>", "// c\n", "# c\n", "#[A]\n", "/* c */", "'//'", "\"#{$a['#']}\"", '"${a}#"',
    "<<<EOT\n# x\nEOT;\n", "<<<'N'\n  // y\n  N;\n", "`#`", "<!-- h -->", "\n", " ", "x", ";",
    "$a", "{", "}", "<?= ", "?", ">", "/", "#", "'", '"', "<<<", "*/", "/*", "<<<H\n{$a",
    "}\nH;\n", "{$", "${",
]
