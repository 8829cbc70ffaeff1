"""endo("markdown") in the format table, beside cmark, md4c and pandoc."""

import random

import inputs

FORMAT = "markdown"
EXTENSION = ".md"
APT_PACKAGES = ("cmark", "libmd4c-dev", "pandoc")
NPM_PACKAGES = ()
TARGETS = {"cmark": 2.0}


def generate(rng, size):
    seed = rng.random()
    return {"prose": inputs.markdown_document(random.Random(seed), size),
            "structured": inputs.markdown_document(random.Random(seed), size, structured=True)}


def peers(tools):
    return tools.markdown()
