"""What the corpus checks share."""


def first_difference(a, b):
    """Where two token lists part, as a message."""
    for index, (x, y) in enumerate(zip(a, b)):
        if x != y:
            return "token %d: source %r, result %r" % (index, x, y)
    return "token %d: source %r, result %r" % (min(len(a), len(b)), a[len(b):len(b) + 1],
                                                 b[len(a):len(a) + 1])
