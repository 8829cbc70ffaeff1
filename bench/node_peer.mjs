// Times a Node.js peer in its own process and prints its best seconds per call.
//
//     node node_peer.mjs <script> <input> <rounds> <min_round>
//
// `script` is an ES module exporting `parse(text)`. The suite copies this
// file and the script beside the npm packages it installed, so that the
// script's imports resolve there. The file is read before timing.
import { readFileSync } from "node:fs";
import { pathToFileURL } from "node:url";
import { resolve } from "node:path";

const [script, input, roundsText, minRoundText] = process.argv.slice(2);
const { parse } = await import(pathToFileURL(resolve(script)).href);
const text = readFileSync(input, "utf8");
const rounds = Number(roundsText);
const minRound = Number(minRoundText);

function seconds(calls) {
  const start = process.hrtime.bigint();
  for (let i = 0; i < calls; i++) parse(text);
  return Number(process.hrtime.bigint() - start) / 1e9;
}

let calls = 1;
while (seconds(calls) < minRound) calls *= 2;
let best = Infinity;
for (let round = 0; round < rounds; round++) best = Math.min(best, seconds(calls) / calls);
console.log(best);
