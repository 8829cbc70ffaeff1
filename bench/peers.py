"""The peer tools that ilvex is compared with, each run on the same file as
ilvex: for endo("markdown") cmark, md4c (through md4c_driver.c) and pandoc;
for the other formats the peers their modules in formats/ name (`PeerTools`).

A peer is a separate process. cmark and pandoc are timed as whole runs,
less their best run on an empty file (start-up and exit); md4c times its own
conversions in memory. Every peak is the peer's own (through peak_rss),
less its peak on an empty file.
"""

import importlib.util
import shutil
import subprocess
import sys
from pathlib import Path

PACKAGES = ("cmark", "libmd4c-dev", "pandoc")
MD4C_HEADER = Path("/usr/include/md4c.h")
NOT_INSTALLED = "peer not installed"


def install(apt_packages=(), npm_packages=(), npm_dir=None):
    """Installs the peers' Debian packages and npm packages (the suite's
    --install-peers): the Markdown peers and those of every format module.
    npm packages go into `npm_dir`, beside the build, never into the
    repository."""
    subprocess.run(["apt-get", "update"], check=True)
    # A Node.js that brings its own npm (NodeSource's) conflicts with Debian's npm package.
    node_packages = {"nodejs", "npm"} if npm_packages and shutil.which("npm") is None else set()
    packages = sorted(set(PACKAGES) | set(apt_packages) | node_packages)
    subprocess.run(["apt-get", "install", "-y", "--no-install-recommends", *packages], check=True)
    if npm_packages:
        npm_dir.mkdir(parents=True, exist_ok=True)
        subprocess.run(["npm", "install", "--no-audit", "--no-fund", "--prefix", str(npm_dir),
                        *sorted(set(npm_packages))], check=True)


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


DEBIAN_PYTHON = "/usr/bin/python3"


def python_with(package):
    """An interpreter that can import `package`: this one, else Debian's."""
    if importlib.util.find_spec(package) is not None:
        return sys.executable
    if Path(DEBIAN_PYTHON).exists() and subprocess.run(
            [DEBIAN_PYTHON, "-c", f"import {package}"], capture_output=True).returncode == 0:
        return DEBIAN_PYTHON
    return None


class PeerTools:
    """Builds the peers that a format module names: a command-line tool, a
    parse function of a Python package, or a parse function of an npm
    package. A peer whose tool is missing is listed as not installed."""

    def __init__(self, bench_dir, npm_dir, rounds, min_round, md4c_driver=None):
        self.bench_dir = bench_dir
        self.npm_dir = npm_dir
        self.rounds = rounds
        self.min_round = min_round
        self.md4c_driver = md4c_driver

    def markdown(self):
        """cmark, md4c and pandoc: the peers of endo("markdown")."""
        return standard_peers(self.md4c_driver, self.rounds)

    def command(self, name, program, argv):
        """A whole-process peer: `argv(path)` runs `program` on the file."""
        found = shutil.which(program)
        return Peer(name, (lambda path: [found, *argv(path)]) if found else None)

    def pandoc(self, reader):
        """pandoc reading `reader` and writing HTML, as for Markdown."""
        return self.command("pandoc", "pandoc", lambda path: ["-f", reader, "-t", "html", "-o", "/dev/null", str(path)])

    def python(self, name, requires, module, function):
        """`module.function(text)` timed in a process of its own; `requires`
        is the package that must be importable, by this interpreter or by
        Debian's, where the packages of --install-peers go."""
        interpreter = python_with(requires)
        if interpreter is None:
            return Peer(name, None)
        runner = str(self.bench_dir / "python_peer.py")
        return Peer(name, lambda path: [interpreter, runner, module, function, str(path), str(self.rounds),
                                        str(self.min_round)], times_itself=True)

    def node(self, name, package, script):
        """The `parse(text)` export of the ES module `script` (a file of
        formats/, importing `package`), timed in a Node.js process of its
        own. Both files are copied beside the installed npm packages."""
        node = shutil.which("node")
        if node is None or not (self.npm_dir / "node_modules" / package).is_dir():
            return Peer(name, None)
        for source in (self.bench_dir / "node_peer.mjs", self.bench_dir / "formats" / script):
            shutil.copyfile(source, self.npm_dir / source.name)
        runner, copied = str(self.npm_dir / "node_peer.mjs"), str(self.npm_dir / script)
        return Peer(name, lambda path: [node, runner, copied, str(path), str(self.rounds), str(self.min_round)],
                    times_itself=True)


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
