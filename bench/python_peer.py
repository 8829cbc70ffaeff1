#!/usr/bin/env python3
"""Times a Python peer in its own process and prints its best seconds per call.

    python_peer.py <module> <function> <input> <rounds> <min_round>

`module` is a module of bench/ (such as "formats.html") and `function` one of
its functions, taking the input's text. The file is read before timing, so
only the parse is timed, as ilvex's own call is.
"""

import importlib
import sys

from timing import best_time_per_call


def main():
    module, function, path, rounds, min_round = sys.argv[1:]
    parse = getattr(importlib.import_module(module), function)
    with open(path, encoding="utf-8") as f:
        text = f.read()
    print(best_time_per_call(lambda: parse(text), int(rounds), float(min_round)))


if __name__ == "__main__":
    main()
