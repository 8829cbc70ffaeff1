#!/usr/bin/env python3
"""Times ilvex.dialektos: every standard id, then a deep diamond of imports.

Run by hand against a built module, for example
    PYTHONPATH=build/rel/python python3 bench/dialektos_bench.py
Each case is timed in several rounds of back-to-back calls; the best round
counts, since slower rounds measure the machine's other work.
"""

import argparse

import ilvex

from timing import best_time_per_call


def diamond(levels):
    """Definition texts of a diamond `levels` deep, and the id of its top.

    Level n holds a<n> and b<n>, each with a sim of its own; both import the
    whole of a<n+1> and only the own sim of b<n+1> (importing b<n+1> whole
    would bring a<n+2>'s sims in twice). Each definition below the top is
    therefore reached through two importers on every level.
    """
    sources = {}
    for n in range(levels):
        a_symbol, b_symbol = "+" * (n + 1), "~" * (n + 1)
        for name, symbol in (("a", a_symbol), ("b", b_symbol)):
            text = "@@@!ilvex\n"
            if n + 1 < levels:
                text += f"@@::a{n + 1}\n@@::b{n + 1}::{'~' * (n + 2)}\n"
            text += f"@=== {name}{n}\n@{symbol} grammata {symbol}@\n===@\n"
            sources[f"{name}{n}.dia"] = text
    return sources, "a0"


def sim_count(serialization):
    return serialization.count("\n@=== ")


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--rounds", type=int, default=5, help="rounds per case (default 5)")
    parser.add_argument("--min-round", type=float, default=0.2, help="seconds a round lasts at least (default 0.2)")
    parser.add_argument("--levels", type=int, default=30, help="depth of the diamond (default 30)")
    args = parser.parse_args()

    cases = [(id_, id_, lambda id_=id_: ilvex.dialektos(id_)) for id_ in ilvex.std_dialektoi()]
    sources, top = diamond(args.levels)
    cases.append((f"diamond of {args.levels} levels", top, lambda: ilvex.dialektos(top, sources=sources)))

    print(f"ilvex {ilvex.version()}, best of {args.rounds} rounds of at least {args.min_round} s")
    print(f"{'case':<24} {'sims':>5} {'us/call':>10} {'calls/s':>10}")
    for label, _, call in cases:
        sims = sim_count(call())
        seconds = best_time_per_call(call, args.rounds, args.min_round)
        print(f"{label:<24} {sims:>5} {seconds * 1e6:>10.1f} {1 / seconds:>10.0f}")


if __name__ == "__main__":
    main()
