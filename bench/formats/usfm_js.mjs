// usfm-js: USFM tokenized to its JSON object.
import usfm from "usfm-js";

export function parse(text) {
  return usfm.toJSON(text);
}
