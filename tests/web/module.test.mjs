// The module of the page under Node against the native lumocalc-eval on
// generated lines (tests/differential/line_generator.h): every answer the
// same. The native build to hold it to computes in the software extended
// format, as the module does (-DLUMOCALC_SOFT_EXTENDED=ON); the x87's differs
// now and then in a non-integer power's last digit.
//   LUMOCALC_EVAL, LUMOCALC_DIFFERENTIAL_RUN: the native programs
//   LUMOCALC_MODULE: the module (build/web/web/lumocalc.js)
//   LUMOCALC_COUNT, LUMOCALC_SEED: how many lines (100,000), from which seed (1)
import assert from 'node:assert/strict';
import {execFileSync} from 'node:child_process';
import {createRequire} from 'node:module';
import {test} from 'node:test';

const {LUMOCALC_EVAL, LUMOCALC_DIFFERENTIAL_RUN, LUMOCALC_MODULE} = process.env;
const count = Number(process.env.LUMOCALC_COUNT ?? 100000);
const seed = Number(process.env.LUMOCALC_SEED ?? 1);
const calculator = createRequire(import.meta.url)(LUMOCALC_MODULE)();
const chunk = 200000;  // lines generated and answered at a time

// lumocalc-eval --escaped's text form, one byte a character (latin1).
const escapes = {'\\': '\\\\', '\t': '\\t', '\r': '\\r', '\n': '\\n'};
const unescape = (text) => Buffer.from(text.replace(
  /\\(x[0-9A-Fa-f]{2}|.)/g, (_, e) => e[0] === 'x' ? String.fromCharCode(parseInt(e.slice(1), 16))
    : Object.keys(escapes).find((c) => escapes[c] === `\\${e}`) ?? `\\${e}`), 'latin1');
const escape = (bytes) => Array.from(bytes, (b) => {
  const c = String.fromCharCode(b);
  const hex = `\\x${b.toString(16).toUpperCase().padStart(2, '0')}`;
  return escapes[c] ?? (b >= 0x20 && b <= 0x7E ? c : hex);
}).join('');

function answer(bytes) {
  calculator.HEAPU8.set(bytes, calculator._lumocalc_buffer(bytes.length));
  const size = calculator._lumocalc_calculate(bytes.length);
  const at = calculator._lumocalc_part(3);
  return calculator.HEAPU8.subarray(at, at + size);
}

test(`${count} generated lines (seed ${seed}): the module answers as lumocalc-eval`, () => {
  const run = (program, args, input) => execFileSync(program, args, {input, maxBuffer: 2 ** 30})
    .toString('latin1').split('\n').slice(0, -1);
  const mismatches = [];
  for (let done = 0, part = 0; done < count; done += chunk, ++part) {
    const lines = run(LUMOCALC_DIFFERENTIAL_RUN, [String(Math.min(chunk, count - done)),
                                                  String(seed + part), '--lines']);
    const native = run(LUMOCALC_EVAL, ['--escaped'], `${lines.join('\n')}\n`);
    assert.equal(native.length, lines.length, 'one answer a line');
    lines.forEach((line, i) => {
      const mine = escape(answer(unescape(line)));
      if (mine === native[i]) return;
      mismatches.push(`${line}\n  native: ${native[i]}\n  module: ${mine}`);
      if (mismatches.length > 20) throw new Error(mismatches.join('\n'));
    });
  }
  assert.deepEqual(mismatches, []);
});
