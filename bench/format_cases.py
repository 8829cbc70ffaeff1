"""The format section of the suite: endo on a generated input of every format
module in formats/, beside that format's peers, in one table with the
targets each format sets."""

import random

import formats
import peers


def input_texts(module, seed, size):
    """{label: text}: a module's `generate` gives one text or several by label."""
    generated = module.generate(random.Random(seed), size)
    return generated if isinstance(generated, dict) else {"generated": generated}


def write_format_inputs(modules, directory, seed, size):
    """Writes every module's inputs; [(module, label, path)]."""
    directory.mkdir(parents=True, exist_ok=True)
    written = []
    for module in modules:
        for label, text in input_texts(module, seed, size).items():
            path = directory / f"{module.FORMAT}-{label}{module.EXTENSION}"
            path.write_text(text, encoding="utf-8")
            written.append((module, label, path))
    empty = directory / "empty"
    empty.write_text("", encoding="utf-8")
    return written, empty


def peer_cells(peer, figures, path, empty, launch, args):
    """The peer's MB/s and the ratio ilvex/peer, or why there is none."""
    if not peer.installed:
        return [peers.NOT_INSTALLED, ""], None
    seconds, _ = peers.measure(peer, path, empty, launch, args.rounds, args.min_round, args.peer_budget)
    if seconds is None:
        return ["< start-up", ""], None
    peer_mb_s = path.stat().st_size / 1e6 / seconds
    ratio = figures["mb_s"] / peer_mb_s
    return [f"{peer_mb_s:.1f}", f"{ratio:.2f}"], ratio


def target_cell(module, peer_name, ratio):
    target = getattr(module, "TARGETS", {}).get(peer_name)
    if target is None:
        return ""
    if ratio is None:
        return f">= {target:g}: not checked"
    return f">= {target:g}: {'met' if ratio >= target else 'MISSED'}"


def scheme_cell(module, figures, path, launch, args, ilvex_figures):
    """The time the scheme pass adds, for a format that takes one."""
    scheme = getattr(module, "SCHEME", None)
    if scheme is None:
        return ""
    with_scheme = ilvex_figures(launch, {"call": "endo", "format": module.FORMAT, "scheme": scheme}, path, args)
    return f"+{(with_scheme['seconds'] / figures['seconds'] - 1) * 100:.0f}%"


def format_cases(launch, args, tools, ilvex_figures, print_table):
    modules = [m for m in formats.discover() if not args.formats or m.FORMAT in args.formats]
    written, empty = write_format_inputs(modules, launch.input_dir / "formats", args.seed, int(args.format_mb * 1e6))
    rows = []
    for module, label, path in written:
        figures = ilvex_figures(launch, {"call": "endo", "format": module.FORMAT}, path, args)
        first = [module.FORMAT, label, f"{path.stat().st_size / 1e6:.2f}", f"{figures['mb_s']:.1f}",
                 f"{figures['peak_x']:.2f}", scheme_cell(module, figures, path, launch, args, ilvex_figures)]
        format_peers = module.peers(tools)
        for index, peer in enumerate(format_peers or [None]):
            lead = first if index == 0 else [""] * len(first)
            if peer is None:
                rows.append(lead + ["-", "", "", ""])
                continue
            cells, ratio = peer_cells(peer, figures, path, empty, launch, args)
            rows.append(lead + [peer.name, *cells, target_cell(module, peer.name, ratio)])
    print_table("Format import (ilvex/peer > 1: ilvex is faster)",
                ["format", "input", "MB", "MB/s", "peak/input", "scheme", "peer", "peer MB/s", "ilvex/peer",
                 "target"], rows)
