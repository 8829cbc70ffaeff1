"""The peer tools that endo("markdown") is compared with: cmark, md4c (through
md4c_driver.c) and pandoc, each run on the same file as ilvex.

A peer is a separate process. cmark and pandoc are timed as whole runs,
less their best run on an empty file (start-up and exit); md4c times its own
conversions in memory. Every peak is the peer's own (through peak_rss),
less its peak on an empty file.
"""

import shutil
import subprocess
from pathlib import Path

PACKAGES = ("cmark", "libmd4c-dev", "pandoc")
MD4C_HEADER = Path("/usr/include/md4c.h")
NOT_INSTALLED = "peer not installed"


def install():
    """Installs the peers' Debian packages (the suite's --install-peers)."""
    subprocess.run(["apt-get", "update"], check=True)
    subprocess.run(["apt-get", "install", "-y", "--no-install-recommends", *PACKAGES], check=True)


def compile_md4c_driver(source, target):
    """Builds the md4c driver when md4c is installed; the driver's path or None."""
    if not MD4C_HEADER.exists():
        return None
    if not target.exists() or target.stat().st_mtime < source.stat().st_mtime:
        subprocess.run(["cc", "-O2", "-o", str(target), str(source), "-lmd4c"], check=True)
    return target


class Peer:
    """One peer: the command that converts a file, and how it is timed."""

    def __init__(self, name, command, times_itself=False):
        self.name = name
        self.command = command  # path -> argv; None when the tool is missing
        self.times_itself = times_itself  # the command prints its best seconds

    @property
    def installed(self):
        return self.command is not None


def standard_peers(md4c_driver, rounds):
    cmark = shutil.which("cmark")
    pandoc = shutil.which("pandoc")
    return [
        Peer("cmark", (lambda path: [cmark, str(path)]) if cmark else None),
        Peer("md4c", (lambda path: [str(md4c_driver), str(path), str(rounds)]) if md4c_driver else None,
             times_itself=True),
        Peer("pandoc", (lambda path: [pandoc, "-f", "markdown", "-t", "html", "-o", "/dev/null", str(path)])
             if pandoc else None),
    ]


def measure(peer, path, empty_path, launch, rounds, min_round, budget):
    """Seconds per conversion (None when too short to tell from the peer's
    start-up) and peak KiB above the empty-file run."""

    def best_run(target):
        best_seconds, peak, spent, runs = float("inf"), 0, 0.0, 0
        while runs < 1 or ((runs < rounds or spent < min_round * rounds) and spent < budget):
            run_peak, run_seconds, stdout = launch(peer.command(target), peer=True, keep_output=peer.times_itself)
            seconds = float(stdout) if peer.times_itself else run_seconds
            best_seconds, peak = min(best_seconds, seconds), max(peak, run_peak)
            spent += run_seconds
            runs += 1
            if peer.times_itself:
                break  # the driver ran its own rounds
        return best_seconds, peak

    seconds, peak = best_run(path)
    empty_seconds, empty_peak = best_run(empty_path)
    if not peer.times_itself:
        # A conversion that takes less than a tenth of the start-up is lost
        # in the start-up's own spread: no figure.
        seconds -= empty_seconds
        if seconds < empty_seconds / 10:
            return None, max(peak - empty_peak, 0)
    return seconds, max(peak - empty_peak, 0)
