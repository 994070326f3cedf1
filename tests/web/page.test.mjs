// The page in a real Chromium, played as a person uses it and read back as a
// person sees it: the window's scenarios that apply to a page (those of
// tests/cases/window.txt made of typing, Enter, selections, clicks on the
// input, keys and pastes without line ends) and the page's own
// (tests/cases/web.txt). After every step the answer shown must be the
// engine's answer for the input shown, and no scenario may make a request,
// break the Content-Security-Policy or raise an error. Screenshots at phone
// and desktop width, light and dark, go to build/web/test-output.
//   LUMOCALC_PAGE, LUMOCALC_MODULE: the built page and module (build/web/web/)
//   LUMOCALC_CHROMIUM: the browser (/usr/bin/chromium)
import assert from 'node:assert/strict';
import {execFileSync} from 'node:child_process';
import {mkdirSync, mkdtempSync, readFileSync, rmSync} from 'node:fs';
import {createRequire} from 'node:module';
import {tmpdir} from 'node:os';
import {dirname, join, resolve} from 'node:path';
import {after, before, describe, test} from 'node:test';
import {isDeepStrictEqual} from 'node:util';
import {fileURLToPath, pathToFileURL} from 'node:url';
import {chromium} from 'playwright-core';

const root = resolve(dirname(fileURLToPath(import.meta.url)), '../..');
const built = (name) => process.env[`LUMOCALC_${name.toUpperCase()}`] ??
                        join(root, 'build/web/web', name === 'page' ? 'lumocalc.html' : 'lumocalc.js');
const pageUrl = pathToFileURL(built('page')).href;
const outputDir = join(root, 'build/web/test-output');
const calculator = createRequire(import.meta.url)(built('module'))();

// The engine's answer for a line in the page's single-byte text, the WHATWG's
// windows-1252 (as Chromium decodes it: Node's TextDecoder takes it for
// Latin-1); undefined for a line with a character it lacks.
let characters, byteOf;
function answerFor(line) {
  const bytes = [...line].map((character) => byteOf.get(character));
  if (bytes.includes(undefined)) return undefined;
  const at = calculator._lumocalc_buffer(bytes.length);
  calculator.HEAPU8.set(bytes, at);
  const size = calculator._lumocalc_calculate(bytes.length);
  const answer = calculator._lumocalc_part(3);
  const shown = calculator.HEAPU8.subarray(answer, answer + size);
  return Array.from(shown, (byte) => characters[byte]).join('');
}

// A table's text: the escapes \r \n \t \b \\, [TEXT]*N for TEXT N times, and
// in expected texts {LINE} for the engine's answer to LINE.
function text(quoted, expected) {
  let t = quoted.replace(/\\(.)/g, (_, c) => ({r: '\r', n: '\n', t: '\t', b: '\b'})[c] ?? c)
                .replace(/\[(.*?)\]\*(\d+)/g, (_, unit, n) => unit.repeat(Number(n)));
  return expected ? t.replace(/\{([^}]*)\}/g, (_, line) => answerFor(line)) : t;
}

function scenarios(file) {
  const list = [];
  for (const line of readFileSync(join(root, 'tests/cases', file), 'utf8').split('\n')) {
    if (line.startsWith('#') || line.trim() === '') continue;
    const [verb, ...rest] = line.match(/"(?:[^"\\]|\\.)*"|\S+/g);
    if (verb === 'scenario') list.push({name: line.slice(9), steps: []});
    else list.at(-1).steps.push({verb, args: rest.map((a) => a.replace(/^"(.*)"$/s, '$1'))});
  }
  return list;
}

// A window scenario is the page's too when it uses only what a page has and
// pastes no line end: the page takes those line by line, as the terminal does.
function playable({verb, args}) {
  return ['type', 'select', 'expect', 'open'].includes(verb) || (verb === 'start' && !args.length) ||
         (verb === 'paste' && !/\\[rn]/.test(args[0])) || (verb === 'click' && args[0] === 'input') ||
         (verb === 'key' && /^(Enter|Escape|.)$/.test(args[0]));
}

let browser, home;
before(async () => {
  // Debian's Chromium, as root only without its sandbox; its profile goes to
  // a scratch folder of Playwright's, its caches to a scratch HOME.
  home = mkdtempSync(join(tmpdir(), 'lumocalc-chromium-'));
  browser = await chromium.launch({
    executablePath: process.env.LUMOCALC_CHROMIUM ?? '/usr/bin/chromium',
    env: {...process.env, HOME: home},
    args: ['--no-sandbox', '--disable-background-networking', '--disable-component-update',
           '--disable-sync', '--no-first-run', '--disable-default-apps']})
    .catch((e) => { throw new Error(`Chromium cannot start: ${e.message.split('\n')[0]}`); });
  const page = await browser.newPage();
  characters = await page.evaluate(() => [...new TextDecoder('windows-1252').decode(
    Uint8Array.from({length: 256}, (_, byte) => byte))]);
  byteOf = new Map(characters.map((character, byte) => [character, byte]));
  await page.close();
});
after(async () => {
  await browser?.close();
  rmSync(home, {recursive: true, force: true});
});

// A fresh page in a fresh context, with what it requests, breaks and raises.
async function open(options = {}) {
  const context = await browser.newContext(options);
  await context.grantPermissions(['clipboard-read', 'clipboard-write']);
  const page = await context.newPage();
  const trouble = [];
  page.on('request', (r) => r.url() !== pageUrl && trouble.push(`request ${r.url()}`));
  page.on('pageerror', (e) => trouble.push(`error ${e.message}`));
  page.on('console', (m) => m.type() === 'error' && trouble.push(`console ${m.text()}`));
  await page.addInitScript(() => document.addEventListener(
    'securitypolicyviolation', (e) => console.error(`CSP ${e.violatedDirective}`)));
  await page.goto(pageUrl);
  await page.waitForSelector('html[data-ready]', {state: 'attached'});
  return {context, page, trouble};
}

// What a person sees: the input, the answer, the history (each entry ended
// by CR LF as in the window's field), the note beside the history, the caret.
const seen = (page) => page.evaluate(() => {
  const input = document.getElementById('input');
  return {input: input.value, answer: document.querySelector('#answer').textContent,
          history: [...document.querySelectorAll('#history li')]
            .map((li) => `${li.textContent}\r\n`).join(''),
          status: document.getElementById('note').textContent.trim(),
          start: input.selectionStart, end: input.selectionEnd};
});

// A huge answer shows only its end, behind "…".
function assertAnswer(shown, expected, what) {
  if (shown.startsWith('…') && expected.length > shown.length) {
    assert.ok(expected.endsWith(shown.slice(1)), what);
  } else {
    assert.equal(shown, expected, what);
  }
}

async function press(page, key) {
  if (key === '\r') return page.keyboard.press('Enter');
  if (key === '\b') return page.keyboard.press('Backspace');
  return page.keyboard.type(key);
}

async function play(steps) {
  let session;
  for (const [index, {verb, args}] of steps.entries()) {
    const where = `step ${index + 1}: ${verb} ${args.join(' ')}`;
    if (verb === 'start') {
      await session?.context.close();
      session = await open();
      continue;
    }
    const {page} = session;
    if (verb === 'type') {
      for (const key of text(args[0])) {
        const was = await seen(page);
        await press(page, key);
        if (key === '\r') continue;
        const kept = key === '\b' && was.start === was.end ? Math.max(was.start - 1, 0) : was.start;
        const now = await seen(page);
        const typed = was.input.slice(0, kept) + (key === '\b' ? '' : key) + was.input.slice(was.end);
        assert.equal(now.input, typed, `${where}: the input after ${JSON.stringify(key)}`);
      }
    } else if (verb === 'paste') {
      await page.evaluate((t) => navigator.clipboard.writeText(t), text(args[0]));
      await page.keyboard.press('Control+V');
    } else if (verb === 'select') {
      await page.evaluate(([from, to]) => {
        const input = document.getElementById('input');
        input.setSelectionRange(from, to < 0 ? input.value.length : to);
      }, args.map(Number));
    } else if (verb === 'click') {
      await page.click(`#${args[0]}`);
    } else if (verb === 'key') {
      await page.keyboard.press(args[0]);
    } else if (verb === 'expect') {
      const now = await seen(page);
      assert.equal(now.input, text(args[0]), `${where}: input`);
      assertAnswer(now.answer, text(args[1], true), `${where}: answer`);
      assert.equal(now.history, text(args[2], true), `${where}: history`);
    } else if (verb === 'caret') {
      const {start, end} = await seen(page);
      assert.deepEqual([start, end], [Number(args[0]), Number(args[0])], `${where}`);
    } else if (verb === 'status') {
      assert.equal((await seen(page)).status, text(args[0]), `${where}: the note`);
    } else {
      assert.equal(verb, 'open', `${where}: a step the page has`);
    }
    const now = await seen(page);
    const expected = answerFor(now.input);
    if (expected !== undefined) assertAnswer(now.answer, expected, `${where}: the answer to the input`);
    assert.deepEqual(session.trouble, [], where);
  }
  await session?.context.close();
}

describe('window scenarios on the page', () => {
  for (const {name, steps} of scenarios('window.txt')) {
    const skip = steps.every(playable) ? false : 'uses what only the window has, or pastes a line end';
    test(name, {skip}, () => play(steps));
  }
});

describe('page scenarios', () => {
  for (const {name, steps} of scenarios('web.txt')) test(name, () => play(steps));
});

// Generated sessions (tests/term/session_player.cpp gives each action with
// what the line session holds after it), played on the page: after every
// action the input, caret, answer, waiting note and history must be the
// line session's. A mismatch prints the seed, the fewest actions that still
// fail, and both.
//   LUMOCALC_SESSION_PLAYER, LUMOCALC_SESSIONS (200), LUMOCALC_SESSION_SEED (1)
const unescape = (text) => Buffer.from(text.replace(/\\(x..|.)/g, (_, e) => e.length === 3 ?
  String.fromCharCode(parseInt(e.slice(1), 16)) : {t: '\t', r: '\r', n: '\n'}[e] ?? e), 'latin1').toString();
const note = (waiting) => ['', '1 more line waits'][waiting] ?? `${waiting} more lines wait`;

function sessions(count, seed, keep = []) {
  const list = [];
  const rows = execFileSync(process.env.LUMOCALC_SESSION_PLAYER, ['page', count, seed, ...(keep.length ? [keep.join()] : [])],
                            {encoding: 'latin1', maxBuffer: 1 << 30});
  for (const row of rows.trimEnd().split('\n')) {
    const [act, from, to, text, input, caret, answer, waiting, ...history] = row.split('\t');
    if (act.startsWith('session')) list.push({seed: act.slice(8), actions: []});
    else list.at(-1).actions.push({act, from: +from, to: +to, text: unescape(text), want: {
      input: unescape(input), caret: +caret, answer: unescape(answer), status: note(+waiting),
      history: history.map((entry) => `${unescape(entry)}\r\n`).join('')}});
  }
  return list;
}

const keys = {backspace: 'Backspace', delete: 'Delete', left: 'ArrowLeft', right: 'ArrowRight',
              home: 'Home', end: 'End', enter: 'Enter'};

// The first action after which the page shows another state, with both.
// A reload is a new page, and a quicker one than a new context; the input
// takes the keys once it has the focus.
async function playSession(page, actions) {
  await page.reload();
  await page.waitForFunction(() => document.activeElement.id === 'input');
  for (const [at, {act, from, to, text, want}] of actions.entries()) {
    if (keys[act]) await page.keyboard.press(keys[act]);
    if (act === 'drop' && await page.isVisible('#drop')) await page.click('#drop');
    if (act === 'empty') await page.keyboard.press('Control+A').then(() => page.keyboard.press('Backspace'));
    if (act === 'over') {
      await page.evaluate(([from, to]) => {
        const input = document.getElementById('input');
        const at = (characters) => [...input.value].slice(0, characters).join('').length;
        input.setSelectionRange(at(from), at(to));
      }, [from, to]);
    }
    if (act === 'paste' || /[\r\n]/.test(text)) {
      await page.evaluate((t) => navigator.clipboard.writeText(t), text);
      await page.keyboard.press('Control+V');
    } else if (text) {
      await page.keyboard.type(text);
    }
    const {input, answer, status, history, start} = await seen(page);
    const got = {input, caret: [...input.slice(0, start)].length, answer, status, history};
    if (!isDeepStrictEqual(got, want)) return {at, got, want};
  }
}

describe('generated sessions', {skip: !process.env.LUMOCALC_SESSION_PLAYER}, () => {
  const count = Number(process.env.LUMOCALC_SESSIONS ?? 200);
  const first = Number(process.env.LUMOCALC_SESSION_SEED ?? 1);
  test(`${count} sessions from seed ${first}`, async () => {
    const {context, page, trouble} = await open();
    let mismatches = 0;
    for (const {seed, actions} of sessions(count, first)) {
      const failed = await playSession(page, actions);
      assert.deepEqual(trouble, [], `seed ${seed}`);
      if (!failed) continue;
      ++mismatches;
      let keep = [...Array(failed.at + 1).keys()];
      for (let i = 0; i < keep.length;) {
        const fewer = keep.filter((_, j) => j !== i);
        if (fewer.length && await playSession(page, sessions(1, seed, fewer)[0].actions)) keep = fewer;
        else ++i;
      }
      const {actions: shortest} = sessions(1, seed, keep)[0];
      const last = await playSession(page, shortest) ?? failed;
      console.log(`seed ${seed}: the page differs after these actions:`);
      for (const {act, from, to, text} of shortest) {
        console.log(`  ${act}${act === 'over' ? ` ${from} ${to}` : ''} ${text && JSON.stringify(text)}`);
      }
      console.log(`expected: ${JSON.stringify(last.want)}\nseen:     ${JSON.stringify(last.got)}`);
    }
    await context.close();
    console.log(`${count} sessions, ${mismatches} mismatches`);
    assert.equal(mismatches, 0);
  });
});

describe('for people', () => {
  test('nothing stored, no sideways scroll at 320 px, no shift while typing, dark mode', async () => {
    const {context, page, trouble} = await open({viewport: {width: 320, height: 640}});
    const box = () => page.evaluate(() => ['#answer', '#status', '#history'].map((s) => {
      const r = document.querySelector(s).getBoundingClientRect();
      return [r.x, r.y, r.width, r.height];
    }));
    assert.equal(await page.evaluate(() => document.activeElement.id), 'input');
    const empty = await box();
    await page.keyboard.type('12345678901234567890*98765432109876543210');
    assert.deepEqual(await box(), empty, 'a long answer moves nothing');
    await page.keyboard.press('Enter');
    const sideways = await page.evaluate(() => document.scrollingElement.scrollWidth > innerWidth);
    assert.equal(sideways, false, 'no sideways scroll');
    const background = () => page.evaluate(() => getComputedStyle(document.body).backgroundColor);
    const light = await background();
    await page.emulateMedia({colorScheme: 'dark'});
    assert.notEqual(await background(), light);
    assert.deepEqual(await context.storageState(), {cookies: [], origins: []});
    assert.deepEqual(trouble, []);
    await context.close();
  });

  test('screenshots', async () => {
    mkdirSync(outputDir, {recursive: true});
    for (const [width, height, form] of [[360, 640, 'phone'], [1024, 600, 'desktop']]) {
      for (const colorScheme of ['light', 'dark']) {
        const {context, page} = await open({viewport: {width, height}, colorScheme});
        for (const line of ['1234567.891', '(1+2)(3+4)', '2^0.5']) await page.keyboard.type(`${line}\r`);
        await page.keyboard.type('1/3');
        await page.screenshot({path: join(outputDir, `${form}-${colorScheme}.png`)});
        await context.close();
      }
    }
  });
});
