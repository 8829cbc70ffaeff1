// The djot peer: @djot/djot's parser and HTML renderer.
import { parse as parseDjot, renderHTML } from "@djot/djot";

export function parse(text) {
  return renderHTML(parseDjot(text));
}
