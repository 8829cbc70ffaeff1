"""One module per endo format, found by `discover`; see README.md here."""

import importlib
import pkgutil

# endo's own order of its format names.
ORDER = ("markdown", "html", "rst", "org", "djot", "docbook", "bibtex", "jats", "tei", "usfm", "usx", "osis")


def discover():
    """The format modules of this folder, in endo's order of formats."""
    modules = [importlib.import_module(f"{__name__}.{info.name}")
               for info in pkgutil.iter_modules(__path__) if not info.name.startswith("_")]
    return sorted(modules, key=lambda m: ORDER.index(m.FORMAT) if m.FORMAT in ORDER else len(ORDER))
