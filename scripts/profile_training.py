#!/usr/bin/env python3
"""The work an instrumented build of the module is run over to record its
profile (see scripts/build_release.sh): every function on generated inputs of
the benchmark, large enough to exercise the streaming paths, and many calls
on a tiny input for the cost of a call. The inputs are seeded, so that a
build is the same wherever it is made.

Run with the instrumented module first on the path."""

import random
import sys
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent.parent / "bench"))

import ilvex  # noqa: E402

import formats  # noqa: E402
import inputs  # noqa: E402

SEED = 7
DOCUMENT_BYTES = 1_500_000
FORMAT_BYTES = 400_000
TINY_CALLS = 2000


def documents():
    for devanagari in (False, True):
        text = inputs.koine_document(random.Random(SEED), DOCUMENT_BYTES, devanagari=devanagari)
        for function in (ilvex.check, ilvex.brachy, ilvex.plero, ilvex.outline):
            function(text)


def imports():
    for module in formats.discover():
        generated = module.generate(random.Random(SEED), FORMAT_BYTES)
        for text in generated.values() if isinstance(generated, dict) else [generated]:
            ilvex.endo(module.FORMAT, text)


def tiny_calls():
    for _ in range(TINY_CALLS):
        ilvex.check(inputs.TINY_DOCUMENT)
        ilvex.brachy(inputs.TINY_DOCUMENT)
        ilvex.plero(inputs.TINY_DOCUMENT)
        ilvex.outline(inputs.TINY_DOCUMENT)
        ilvex.endo("markdown", inputs.TINY_MARKDOWN)


if __name__ == "__main__":
    documents()
    imports()
    tiny_calls()
