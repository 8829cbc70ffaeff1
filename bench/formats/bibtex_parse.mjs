// The bibtex-parse peer of endo("bibtex"): its parse of a whole file.
import bibtexParse from "bibtex-parse";

export function parse(text) {
  return bibtexParse.entries(text);
}
