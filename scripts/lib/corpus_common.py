"""What the corpus checks share."""
import os

# Where Debian installs the documents, scripts and data its packages ship.
DEBIAN_ROOTS = ["/usr/share", "/usr/lib", "/etc"]


def files_ending(roots, suffixes):
    """The files under the folders whose names end with one of the suffixes, sorted."""
    return sorted(os.path.join(d, f) for root in roots for d, _, fs in os.walk(root) for f in fs
                  if f.endswith(suffixes) and os.path.isfile(os.path.join(d, f)))


def first_difference(a, b):
    """Where two token lists part, as a message."""
    for index, (x, y) in enumerate(zip(a, b)):
        if x != y:
            return "token %d: source %r, result %r" % (index, x, y)
    return "token %d: source %r, result %r" % (min(len(a), len(b)), a[len(b):len(b) + 1],
                                                 b[len(a):len(a) + 1])
