#!/usr/bin/env python3
"""The benchmark suite: throughput and peak memory of every ilvex function.

    python3 bench/suite.py [--install-peers] [--quick] [options]

Builds the Release module when needed, generates seeded inputs under the
build directory and prints tables of throughput (MB/s, 1 MB = 10^6 bytes of
UTF-8 input) and peak memory (RSS above an interpreter with the module
imported, as a multiple of the input size), then the targets met or missed.
Every case runs in a fresh process. See bench/README.md.
"""

import argparse
import json
import os
import random
import subprocess
import sys
import tempfile
from pathlib import Path

import format_cases
import formats
import inputs
import peers

BENCH = Path(__file__).resolve().parent
ROOT = BENCH.parent
DEFAULT_CORPUS = Path("/work/shared/corpus/markdown")

# Targets: throughput of check and brachy on ASCII koine, endo("markdown")
# against cmark, and the peak memory of all three.
CHECK_BRACHY_MB_S = 100.0
ENDO_OVER_CMARK = 2.0
PEAK_OVER_INPUT = 4.0
# outline on block-heavy and koine documents of 1 to 64 MB: time grows at most
# this much per fourfold input, and the peak stays under OUTLINE_PEAK_OVER_INPUT.
GROWTH_SIZES_MB = (1, 4, 16, 64)
OUTLINE_GROWTH_PER_STEP = 4.4
OUTLINE_PEAK_OVER_INPUT = 3.0
# check and brachy of THREAD_DOCS documents of THREAD_DOC_MB from as many
# threads, against one thread doing the same.
THREAD_DOCS = 8
THREAD_DOC_MB = 2.0
THREADS_OVER_ONE = 5.0


SECTIONS = ("documents", "markdown", "formats", "outline", "growth", "threads", "tiny", "dialektos")


def parse_arguments():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--install-peers", action="store_true",
                        help="install the peers first: apt-get for Debian packages, npm for the rest")
    parser.add_argument("--quick", action="store_true", help="small inputs and short rounds, for a dry run")
    parser.add_argument("--seed", type=int, default=1, help="seed of the generated inputs (default 1)")
    parser.add_argument("--doc-mb", type=float, default=10.0, help="size of the koine documents (default 10)")
    parser.add_argument("--md-mb", type=float, default=4.0, help="size of the Markdown inputs (default 4)")
    parser.add_argument("--format-mb", type=float, default=4.0, help="size of the other formats' inputs (default 4)")
    parser.add_argument("--formats", nargs="+", default=[], help="formats of the format section (default: all)")
    parser.add_argument("--rounds", type=int, default=5, help="timing rounds per case (default 5)")
    parser.add_argument("--min-round", type=float, default=0.2, help="seconds a round lasts at least (default 0.2)")
    parser.add_argument("--peer-budget", type=float, default=30.0,
                        help="seconds of repeated runs per peer and input at most (default 30)")
    parser.add_argument("--only", nargs="+", choices=SECTIONS, default=list(SECTIONS),
                        help="run only these sections (default: all)")
    parser.add_argument("--build-dir", type=Path, default=ROOT / "build" / "rel", help="Release build directory")
    parser.add_argument("--corpus", type=Path, default=DEFAULT_CORPUS, help="directory of real Markdown files")
    args = parser.parse_args()
    args.build_dir = args.build_dir.resolve()  # peers run from the inputs' folder
    if args.quick:
        args.doc_mb, args.md_mb, args.rounds, args.min_round, args.peer_budget = 1.0, 0.5, 2, 0.05, 3.0
        args.format_mb = 0.5
    return args


def build_module(build_dir):
    """The Release build as it is installed, profile included; a no-op when up to date."""
    subprocess.run(["bash", str(ROOT / "scripts" / "build_release.sh"), str(build_dir)], check=True,
                   stdout=subprocess.DEVNULL, env={**os.environ, "PYTHON": sys.executable})


def compile_launcher(tool_dir):
    target = tool_dir / "peak_rss"
    source = BENCH / "peak_rss.c"
    if not target.exists() or target.stat().st_mtime < source.stat().st_mtime:
        subprocess.run(["cc", "-O2", "-o", str(target), str(source)], check=True)
    return target


class Launcher:
    """Runs commands through peak_rss in the input directory."""

    def __init__(self, peak_rss, module_dir, input_dir):
        self.peak_rss = peak_rss
        self.input_dir = input_dir
        self.env = dict(os.environ, PYTHONPATH=os.pathsep.join([str(module_dir), str(BENCH)]))

    def __call__(self, argv, peer=False, keep_output=True):
        """The command's peak KiB, wall seconds and standard output. A peer's
        standard error (warnings about its input) is dropped, and so is its
        output unless `keep_output`: a converter writing into a pipe would be
        timed at the pipe's pace."""
        stdout = subprocess.PIPE if keep_output else subprocess.DEVNULL
        with tempfile.NamedTemporaryFile("r") as report:
            done = subprocess.run([str(self.peak_rss), report.name, *argv], cwd=self.input_dir, env=self.env,
                                  stdout=stdout, stderr=subprocess.DEVNULL if peer else None, text=True)
            if done.returncode != 0:
                raise RuntimeError(f"{' '.join(argv[:3])} failed with status {done.returncode}")
            peak, seconds = report.read().split()
        return int(peak), float(seconds), done.stdout

    def ilvex(self, case):
        """The figures case_runner.py prints for `case`."""
        _, _, stdout = self([sys.executable, str(BENCH / "case_runner.py"), json.dumps(case)])
        return json.loads(stdout)


def write_inputs(directory, args):
    """Generates every input file; returns {name: path}."""
    directory.mkdir(parents=True, exist_ok=True)
    doc_size, md_size = int(args.doc_mb * 1e6), int(args.md_mb * 1e6)
    texts = {
        "koine-ascii.ild": inputs.koine_document(random.Random(args.seed), doc_size),
        "koine-devanagari.ild": inputs.koine_document(random.Random(args.seed), doc_size, devanagari=True),
        "prose.md": inputs.markdown_document(random.Random(args.seed), md_size),
        "structured.md": inputs.markdown_document(random.Random(args.seed), md_size, structured=True),
        "empty.md": "",
        "milestones-one-line.ild": inputs.milestones_on_one_line(10_000),
        "references-never-found.ild": inputs.references_never_found(10_000),
    }
    paths = {}
    for name, text in texts.items():
        paths[name] = directory / name
        paths[name].write_text(text, encoding="utf-8")
    return paths


def size_of(path):
    return path.stat().st_size


def ilvex_figures(launch, case, path, args):
    case = dict(case, rounds=args.rounds, min_round=args.min_round)
    if path is not None:
        case["input"] = str(path)
    figures = launch.ilvex(case)
    figures["peak_mb"] = (figures["peak_kib"] - figures["baseline_kib"]) * 1024 / 1e6
    if path is not None:
        size = size_of(path)
        figures["mb_s"] = size / 1e6 / figures["seconds"]
        figures["peak_x"] = figures["peak_mb"] * 1e6 / size
    return figures


def row(cells, widths):
    return "  ".join(f"{cell:<{w}}" if i == 0 else f"{cell:>{w}}" for i, (cell, w) in enumerate(zip(cells, widths)))


def print_table(title, header, rows):
    widths = [max(len(str(r[i])) for r in [header, *rows]) for i in range(len(header))]
    print(f"\n{title}")
    print(row(header, widths))
    print(row(["-" * w for w in widths], widths))
    for cells in rows:
        print(row([str(c) for c in cells], widths))


def document_cases(launch, paths, args, results):
    rows = []
    for script in ("ascii", "devanagari"):
        path = paths[f"koine-{script}.ild"]
        for function in ("check", "brachy", "plero", "outline"):
            f = ilvex_figures(launch, {"call": function}, path, args)
            results[(function, script)] = f
            rows.append([f"{function} koine {script}", f"{size_of(path) / 1e6:.1f}", f"{f['seconds'] * 1e3:.1f}",
                         f"{f['mb_s']:.1f}", f"{f['peak_mb']:.1f}", f"{f['peak_x']:.2f}"])
    print_table("Documents", ["case", "input MB", "ms/call", "MB/s", "peak MB", "peak/input"], rows)


def markdown_inputs(paths, corpus):
    named = [("generated prose", paths["prose.md"]), ("generated structured", paths["structured.md"])]
    if corpus.is_dir():
        named += [(f"corpus {p.name}", p) for p in sorted(corpus.glob("*.md"))]
    return named


def markdown_cases(launch, paths, args, md4c_driver, results):
    peer_list = peers.standard_peers(md4c_driver, args.rounds)
    rows = []
    for label, path in markdown_inputs(paths, args.corpus):
        f = ilvex_figures(launch, {"call": "endo", "format": "markdown"}, path, args)
        cells = [label, f"{size_of(path) / 1e6:.2f}", f"{f['mb_s']:.1f}", f"{f['peak_x']:.2f}"]
        for peer in peer_list:
            if not peer.installed:
                cells += [peers.NOT_INSTALLED, "", ""]
                continue
            seconds, peak_kib = peers.measure(peer, path, paths["empty.md"], launch, args.rounds, args.min_round,
                                              args.peer_budget)
            peak_x = f"{peak_kib * 1024 / size_of(path):.2f}"
            if seconds is None:
                cells += ["< start-up", "", peak_x]
                continue
            peer_mb_s = size_of(path) / 1e6 / seconds
            results[("endo", label, peer.name)] = peer_mb_s
            cells += [f"{peer_mb_s:.1f}", f"{f['mb_s'] / peer_mb_s:.2f}", peak_x]
        results[("endo", label)] = f
        rows.append(cells)
    header = ["endo(\"markdown\") input", "MB", "MB/s", "peak/input"]
    for peer in peer_list:
        header += [f"{peer.name} MB/s", "ilvex/" + peer.name, "peak/input"]
    print_table("Markdown import (ilvex/peer > 1: ilvex is faster)", header, rows)


def outline_cases(launch, paths, args):
    rows = []
    for label, name in (("10 000 milestones on one line", "milestones-one-line.ild"),
                        ("10 000 references never found", "references-never-found.ild")):
        f = ilvex_figures(launch, {"call": "outline"}, paths[name], args)
        rows.append([label, f"{size_of(paths[name]) / 1e3:.0f}", f"{f['seconds'] * 1e3:.2f}", f"{f['mb_s']:.1f}",
                     f"{f['peak_mb']:.1f}", f"{f['peak_x']:.2f}"])
    print_table("Outline performance cases", ["case", "input KB", "ms/call", "MB/s", "peak MB", "peak/input"], rows)


def growth_inputs(directory, args):
    """{(kind, MB): path} of the growth series, generated once per run."""
    sizes = [mb / 16 for mb in GROWTH_SIZES_MB] if args.quick else GROWTH_SIZES_MB
    generators = {"block-heavy": inputs.block_heavy_document, "koine": inputs.koine_document}
    paths = {}
    for kind, generate in generators.items():
        for mb in sizes:
            path = directory / f"growth-{kind}-{mb:g}.ild"
            path.write_text(generate(random.Random(args.seed), int(mb * 1e6)), encoding="utf-8")
            paths[(kind, mb)] = path
    return paths


def growth_cases(launch, directory, args, results):
    """outline on the growth series: time, peak, and the growth of the time
    per fourfold input."""
    rows = []
    for (kind, mb), path in growth_inputs(directory, args).items():
        f = ilvex_figures(launch, {"call": "outline"}, path, args)
        previous = results.get(("growth", kind))
        step = f"{f['seconds'] / previous[-1]['seconds']:.2f}" if previous else "-"
        results.setdefault(("growth", kind), []).append(f)
        rows.append([f"outline {kind}", f"{size_of(path) / 1e6:.1f}", f"{f['seconds'] * 1e3:.1f}", f"{f['mb_s']:.1f}",
                     step, f"{f['peak_mb']:.1f}", f"{f['peak_x']:.2f}"])
    print_table("Outline growth (time x: against the input a quarter the size)",
                ["case", "input MB", "ms/call", "MB/s", "time x", "peak MB", "peak/input"], rows)


def thread_cases(launch, directory, args, results):
    """check and brachy of several documents, by one thread and by one
    thread per document."""
    paths = []
    for seed in range(THREAD_DOCS):
        path = directory / f"thread-{seed}.ild"
        size = int((THREAD_DOC_MB / 8 if args.quick else THREAD_DOC_MB) * 1e6)
        path.write_text(inputs.koine_document(random.Random(args.seed + seed), size), encoding="utf-8")
        paths.append(str(path))
    rows = []
    for function in ("check", "brachy"):
        f = launch.ilvex({"call": "threads", "function": function, "inputs": paths, "rounds": args.rounds,
                          "min_round": args.min_round})
        one, many = f["seconds"]["1"], f["seconds"][str(THREAD_DOCS)]
        results[("threads", function)] = one / many
        rows.append([function, f"{one * 1e3:.1f}", f"{many * 1e3:.1f}", f"{one / many:.2f}"])
    print_table(f"{THREAD_DOCS} koine documents of {THREAD_DOC_MB:g} MB (speed-up: one thread's time over "
                f"{THREAD_DOCS} threads')", ["function", "1 thread ms", f"{THREAD_DOCS} threads ms", "speed-up"], rows)


def tiny_cases(launch, args):
    figures = launch.ilvex({"call": "tiny", "rounds": args.rounds, "min_round": args.min_round})
    sizes = {"check": len(inputs.TINY_DOCUMENT), "brachy": len(inputs.TINY_DOCUMENT),
             "plero": len(inputs.TINY_DOCUMENT), "outline": len(inputs.TINY_DOCUMENT),
             "endo": len(inputs.TINY_MARKDOWN), "dialektos": len(inputs.TINY_DEFINITION["tiny.dia"])}
    rows = [[name, sizes.get(name, "-"), f"{seconds * 1e6:.2f}", f"{1 / seconds:.0f}"]
            for name, seconds in figures["seconds"].items()]
    print_table("One call on a tiny input", ["function", "input bytes", "us/call", "calls/s"], rows)


def dialektos_cases(launch, args):
    import ilvex  # the built module, for the list of standard ids
    ids = list(ilvex.std_dialektoi()) + ["diamond"]
    rows = []
    for id_ in ids:
        f = ilvex_figures(launch, {"call": "dialektos", "id": id_, "levels": 30}, None, args)
        label = "diamond of 30 levels" if id_ == "diamond" else id_
        output_mb = f["result_length"] / 1e6
        rows.append([label, f"{f['seconds'] * 1e6:.1f}", f"{output_mb * 1e3:.1f}",
                     f"{output_mb / f['seconds']:.1f}", f"{f['peak_mb']:.2f}"])
    print_table("dialektos(id) (MB/s of canonical text produced)",
                ["id", "us/call", "result KB", "MB/s out", "peak MB"], rows)


def print_targets(results):
    print("\nTargets")
    for function in ("check", "brachy"):
        f = results.get((function, "ascii"))
        if f is None:
            continue
        speed = "met" if f["mb_s"] >= CHECK_BRACHY_MB_S else "MISSED"
        memory = "met" if f["peak_x"] < PEAK_OVER_INPUT else "MISSED"
        print(f"  {function} ASCII >= {CHECK_BRACHY_MB_S:.0f} MB/s: {speed} ({f['mb_s']:.1f} MB/s); "
              f"peak < {PEAK_OVER_INPUT:.0f}x input: {memory} ({f['peak_x']:.2f}x)")
    for label in ("generated prose", "generated structured"):
        f = results.get(("endo", label))
        if f is None:
            continue
        cmark = results.get(("endo", label, "cmark"))
        if cmark is None:
            speed = f"not checked: cmark {peers.NOT_INSTALLED}"
        else:
            ratio = f["mb_s"] / cmark
            speed = f"{'met' if ratio >= ENDO_OVER_CMARK else 'MISSED'} ({ratio:.2f}x cmark)"
        memory = "met" if f["peak_x"] < PEAK_OVER_INPUT else "MISSED"
        print(f"  endo markdown, {label}, >= {ENDO_OVER_CMARK:.0f}x cmark: {speed}; "
              f"peak < {PEAK_OVER_INPUT:.0f}x input: {memory} ({f['peak_x']:.2f}x)")
    for kind in ("block-heavy", "koine"):
        series = results.get(("growth", kind))
        if not series:
            continue
        steps = [b["seconds"] / a["seconds"] for a, b in zip(series, series[1:])]
        worst_step, worst_peak = max(steps, default=0.0), max(f["peak_x"] for f in series)
        print(f"  outline {kind}, time <= {OUTLINE_GROWTH_PER_STEP}x per fourfold input: "
              f"{'met' if worst_step <= OUTLINE_GROWTH_PER_STEP else 'MISSED'} (at most {worst_step:.2f}x); "
              f"peak < {OUTLINE_PEAK_OVER_INPUT:.0f}x input: "
              f"{'met' if worst_peak < OUTLINE_PEAK_OVER_INPUT else 'MISSED'} (at most {worst_peak:.2f}x)")
    for function in ("check", "brachy"):
        speedup = results.get(("threads", function))
        if speedup is None:
            continue
        print(f"  {function}, {THREAD_DOCS} threads >= {THREADS_OVER_ONE:.0f}x one thread: "
              f"{'met' if speedup >= THREADS_OVER_ONE else 'MISSED'} ({speedup:.2f}x)")


def main():
    args = parse_arguments()
    tool_dir = args.build_dir / "bench"
    npm_dir = tool_dir / "npm"
    if args.install_peers:
        modules = formats.discover()
        peers.install([p for m in modules for p in m.APT_PACKAGES], [p for m in modules for p in m.NPM_PACKAGES],
                      npm_dir)
    build_module(args.build_dir)
    tool_dir.mkdir(parents=True, exist_ok=True)
    launch = Launcher(compile_launcher(tool_dir), args.build_dir / "python", tool_dir / "inputs")
    md4c_driver = peers.compile_md4c_driver(BENCH / "md4c_driver.c", tool_dir / "md4c_driver")
    paths = write_inputs(tool_dir / "inputs", args)
    sys.path.insert(0, str(args.build_dir / "python"))

    results = {}
    print(f"ilvex benchmark suite: seed {args.seed}, best of {args.rounds} rounds of at least {args.min_round} s")
    if "documents" in args.only:
        document_cases(launch, paths, args, results)
    if "markdown" in args.only:
        markdown_cases(launch, paths, args, md4c_driver, results)
    if "formats" in args.only:
        tools = peers.PeerTools(BENCH, npm_dir, args.rounds, args.min_round, md4c_driver)
        format_cases.format_cases(launch, args, tools, ilvex_figures, print_table)
    if "outline" in args.only:
        outline_cases(launch, paths, args)
    if "growth" in args.only:
        growth_cases(launch, tool_dir / "inputs", args, results)
    if "threads" in args.only:
        thread_cases(launch, tool_dir / "inputs", args, results)
    if "tiny" in args.only:
        tiny_cases(launch, args)
    if "dialektos" in args.only:
        dialektos_cases(launch, args)
    print_targets(results)


if __name__ == "__main__":
    main()
