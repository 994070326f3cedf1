// The page in a real Chromium, played as a person uses it and read back as a
// person sees it: generated sessions, whose reference is the line session
// every front end holds, the page's own ways (Escape, Enter after a
// selection, the 32,767-character line), and how it looks. No page may make a request, break the Content-Security-Policy
// or raise an error. Screenshots at phone and desktop width, light and dark,
// go to build/web/test-output.
//   LUMOCALC_PAGE: the built page (build/web/web/lumocalc.html)
//   LUMOCALC_CHROMIUM: the browser (/usr/bin/chromium)
//   LUMOCALC_SESSION_PLAYER: tests/term/session_player.cpp's program, which
//     gives the sessions, each action with what the line session holds after
//     it; LUMOCALC_SESSIONS (200) of them from seed LUMOCALC_SESSION_SEED (1)
import assert from 'node:assert/strict';
import {execFileSync} from 'node:child_process';
import {mkdirSync, mkdtempSync, rmSync} from 'node:fs';
import {tmpdir} from 'node:os';
import {dirname, join, resolve} from 'node:path';
import {after, before, describe, test} from 'node:test';
import {isDeepStrictEqual} from 'node:util';
import {fileURLToPath, pathToFileURL} from 'node:url';
import {chromium} from 'playwright-core';

const root = resolve(dirname(fileURLToPath(import.meta.url)), '../..');
const pageUrl = pathToFileURL(process.env.LUMOCALC_PAGE ?? join(root, 'build/web/web/lumocalc.html')).href;
const outputDir = join(root, 'build/web/test-output');

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

// What a person sees: the input, the caret (in characters), the answer, the
// note beside the history and the history (each entry ended by CR LF as in
// the window's field).
const seen = (page) => page.evaluate(() => {
  const input = document.getElementById('input');
  return {input: input.value, caret: [...input.value.slice(0, input.selectionStart)].length,
          answer: document.querySelector('#answer').textContent,
          status: document.getElementById('note').textContent.trim(),
          history: [...document.querySelectorAll('#history li')].map((li) => `${li.textContent}\r\n`).join('')};
});

async function paste(page, text) {
  await page.evaluate((t) => navigator.clipboard.writeText(t), text);
  await page.keyboard.press('Control+V');
}

// The sessions from the player, texts escaped as cli/escape.h writes them.
const unescape = (text) => Buffer.from(text.replace(/\\(x..|.)/g, (_, e) => e.length === 3 ?
  String.fromCharCode(parseInt(e.slice(1), 16)) : {t: '\t', r: '\r', n: '\n'}[e] ?? e), 'latin1').toString();
const note = (waiting) => ['', '1 more line waits'][waiting] ?? `${waiting} more lines wait`;

function sessions(count, seed, keep = []) {
  const list = [];
  const rows = execFileSync(process.env.LUMOCALC_SESSION_PLAYER,
                            ['page', count, seed, ...(keep.length ? [keep.join()] : [])],
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

// The first action after which the page shows another state, with both. A
// reload is a new page, and a quicker one than a new context; the input
// takes the keys once it has the focus. The Drop button is clicked, or in
// odd sessions reached with Tab and pressed with Enter.
async function playSession(page, seed, actions) {
  await page.reload();
  await page.waitForSelector('#input:focus');  // waitForFunction would eval, which the policy refuses
  for (const [at, {act, from, to, text, want}] of actions.entries()) {
    if (keys[act]) await page.keyboard.press(keys[act]);
    if (act === 'drop' && await page.isVisible('#drop')) {
      await (seed % 2 ? page.keyboard.press('Tab').then(() => page.keyboard.press('Enter')) : page.click('#drop'));
    }
    if (act === 'empty') await page.keyboard.press('Control+A').then(() => page.keyboard.press('Backspace'));
    if (act === 'over') {
      await page.evaluate(([from, to]) => {
        const input = document.getElementById('input');
        const at = (characters) => [...input.value].slice(0, characters).join('').length;
        input.setSelectionRange(at(from), at(to));
      }, [from, to]);
    }
    if (act === 'paste' || /[\r\n]/.test(text)) await paste(page, text);
    else if (text) await page.keyboard.type(text);
    const got = await seen(page);
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
      const failed = await playSession(page, seed, actions);
      assert.deepEqual(trouble, [], `seed ${seed}`);
      if (!failed) continue;
      ++mismatches;
      let keep = [...Array(failed.at + 1).keys()];
      for (let i = 0; i < keep.length;) {
        const fewer = keep.filter((_, j) => j !== i);
        if (fewer.length && await playSession(page, seed, sessions(1, seed, fewer)[0].actions)) keep = fewer;
        else ++i;
      }
      const {actions: shortest} = sessions(1, seed, keep)[0];
      const last = await playSession(page, seed, shortest) ?? failed;
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

test('the page\'s own: Escape changes nothing; Enter after a selection leaves it in the line; ' +
     'a paste past 32,767 characters is cut, and the page says so', async () => {
  const {context, page, trouble} = await open();
  await paste(page, '2**3\n4\n');
  await page.evaluate(() => document.getElementById('input').setSelectionRange(1, 3));
  await page.keyboard.press('Enter');
  const before = await seen(page);
  await page.keyboard.press('Escape');
  assert.deepEqual(await seen(page), before);
  assert.deepEqual([before.input, before.caret, before.status], ['2**3', 3, '1 more line waits']);
  await page.keyboard.press('Control+A');
  await paste(page, '1'.repeat(32767));
  await page.keyboard.type('2');
  assert.equal((await seen(page)).input, '1'.repeat(32767));
  await page.keyboard.press('Enter');
  await paste(page, '7'.repeat(40000) + '\n1');
  const {input, answer, status, history} = await seen(page);
  assert.deepEqual([input, answer, status], ['1', '1 = 1', 'Pasted lines are cut at 32,767 characters.']);
  assert.ok(history.startsWith(`${'7'.repeat(32767)} = `));
  assert.deepEqual(trouble, []);
  await context.close();
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
