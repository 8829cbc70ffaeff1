// usfm-grammar: USFM parsed by its full grammar into a JSON document. The
// grammar takes one book per text, so a text of several books is parsed
// book by book.
import * as grammar from "usfm-grammar";

export function parse(text) {
  const books = text.split(/^(?=\\id )/m).filter((book) => book.length > 0);
  return books.map((book) => new grammar.USFMParser(book).toJSON());
}
