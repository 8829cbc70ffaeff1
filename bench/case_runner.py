#!/usr/bin/env python3
"""Runs one benchmark case in a process of its own and prints its figures.

    case_runner.py '<case as JSON>'

The case names the call ("check", "brachy", "plero", "outline", "endo",
"dialektos" or "tiny"), the input file where the call takes one, and the
timing rounds. The process imports the module, takes its peak RSS as the
baseline, reads the input, makes the call once and takes the peak RSS again,
then times the call. It prints one JSON object: the baseline and peak in
KiB, the best seconds per call and the UTF-8 length of one result.

Start it through peak_rss, so that the peak it reads is its own and not
the size of the process that started it.
"""

import json
import resource
import sys

import ilvex

from dialektos_bench import diamond
from timing import best_time_per_call
from inputs import TINY_DEFINITION, TINY_DOCUMENT, TINY_MARKDOWN


def peak_kib():
    return resource.getrusage(resource.RUSAGE_SELF).ru_maxrss


def read_input(path):
    with open(path, "rb") as f:
        return f.read().decode("utf-8")


def call_of(case, text):
    """The call the case times, with its text bound."""
    function = case["call"]
    if function in ("check", "brachy", "outline"):
        return lambda: getattr(ilvex, function)(text)
    if function == "plero":
        return lambda: ilvex.plero(text)
    if function == "endo":
        return lambda: ilvex.endo(case["format"], text, case.get("scheme"))
    if function == "dialektos":
        if case["id"] == "diamond":
            sources, top = diamond(case["levels"])
            return lambda: ilvex.dialektos(top, sources=sources)
        return lambda: ilvex.dialektos(case["id"])
    raise ValueError(f"unknown call {function}")


def tiny_calls():
    """One call of every function on an input of about a hundred bytes."""
    return {
        "check": lambda: ilvex.check(TINY_DOCUMENT),
        "brachy": lambda: ilvex.brachy(TINY_DOCUMENT),
        "plero": lambda: ilvex.plero(TINY_DOCUMENT),
        "outline": lambda: ilvex.outline(TINY_DOCUMENT),
        "endo": lambda: ilvex.endo("markdown", TINY_MARKDOWN),
        "dialektos": lambda: ilvex.dialektos("tiny", sources=TINY_DEFINITION),
        "std_dialektoi": ilvex.std_dialektoi,
        "version": ilvex.version,
    }


def main():
    case = json.loads(sys.argv[1])
    rounds, min_round = case["rounds"], case["min_round"]
    if case["call"] == "tiny":
        seconds = {name: best_time_per_call(call, rounds, min_round) for name, call in tiny_calls().items()}
        print(json.dumps({"seconds": seconds}))
        return
    baseline = peak_kib()
    text = read_input(case["input"]) if case.get("input") else None
    call = call_of(case, text)
    result = call()
    peak = peak_kib()
    length = len(result.encode()) if isinstance(result, str) else None
    del result
    seconds = best_time_per_call(call, rounds, min_round)
    print(json.dumps({"baseline_kib": baseline, "peak_kib": peak, "seconds": seconds, "result_length": length}))


if __name__ == "__main__":
    main()
