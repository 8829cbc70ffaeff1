// The Org peer: uniorg-parse through unified, parse only.
import { unified } from "unified";
import uniorgParse from "uniorg-parse";

const processor = unified().use(uniorgParse);

export function parse(text) {
  return processor.parse(text);
}
