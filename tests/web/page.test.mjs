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
// A long paste is taken a part at a time, the input read-only meanwhile:
// what is seen is read once it is done.
const seen = (page) => page.evaluate(async () => {
  const input = document.getElementById('input');
  while (input.readOnly) await new Promise((resolve) => setTimeout(resolve, 5));
  return {input: input.value, caret: [...input.value.slice(0, input.selectionStart)].length,
          answer: document.querySelector('#answer').textContent,
          status: document.getElementById('note').textContent.trim(),
          history: [...document.querySelectorAll('#history li')].map((li) => `${li.textContent}\r\n`).join('')};
});

// Waits until `condition` holds in the page, polling there: waitForFunction
// evaluates a string once it has to poll, which the page's policy forbids.
const until = (page, condition) => page.evaluate(`new Promise((resolve) => {
  (function check() { (${condition})() ? resolve() : setTimeout(check, 5); })();
})`);

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
              home: 'Home', end: 'End', enter: 'Enter', up: 'ArrowUp', down: 'ArrowDown'};

// The first action after which the page shows another state, with both. A
// reload is a new page, and a quicker one than a new context; the input
// takes the keys once it has the focus. The Drop button is clicked, or in
// odd sessions reached with Tab and pressed with Enter.
async function playSession(page, seed, actions) {
  await page.reload();
  await until(page, () => document.activeElement.id === 'input');
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

test('a history entry brings its line back: clicked, or reached with Tab and the arrows', async () => {
  const {context, page, trouble} = await open();
  await page.keyboard.type('1+1\r2*3\r4/');
  await page.click('#history li:last-child button');
  assert.deepEqual((await seen(page)).input, '1+1');
  await page.keyboard.press('Tab');
  await page.keyboard.press('Tab');
  await page.keyboard.press('ArrowUp');
  await page.keyboard.press('Space');
  const {input, answer, history} = await seen(page);
  assert.deepEqual([input, answer], ['2*3', '2*3 = 6']);
  assert.equal(history, '2*3 = 6\r\n1+1 = 2\r\n');
  await page.keyboard.press('ArrowDown');
  await page.keyboard.press('ArrowDown');
  assert.equal((await seen(page)).input, '4/', 'the line being typed is kept');
  assert.deepEqual(trouble, []);
  await context.close();
});

test('a long paste is taken a part at a time, a refused line holding the rest', async () => {
  const {context, page, trouble} = await open();
  await paste(page, `${'1+1\n'.repeat(1200)}2=\n3\n${'4\n'.repeat(600)}`);
  let {input, status, history} = await seen(page);
  assert.deepEqual([input, status], ['2=', '601 more lines wait']);
  assert.equal(history, '1+1 = 2\r\n'.repeat(100), 'the newest 100 entries laid out');
  await page.keyboard.press('Backspace');
  await page.keyboard.press('Enter');
  ({input, status, history} = await seen(page));
  assert.deepEqual([input, status, history], ['', '', '4 = 4\r\n'.repeat(100)]);
  await page.evaluate(() => document.querySelector('#history li:last-child').scrollIntoView());
  await until(page, () => document.querySelectorAll('#history li').length === 200);
  assert.deepEqual(trouble, []);
  await context.close();
});

describe('for people', () => {
  test('a screen reader hears the answer once typing pauses, commits, waiting and dropped lines',
       async () => {
    const {context, page, trouble} = await open();
    await page.evaluate(() => {
      window.heard = [];
      new MutationObserver(() => window.heard.push(document.getElementById('spoken').innerHTML))
        .observe(document.getElementById('spoken'), {childList: true, subtree: true});
    });
    // The accessibility tree's live regions that announce: that one alone.
    const cdp = await context.newCDPSession(page);
    const {nodes} = await cdp.send('Accessibility.getFullAXTree');
    const live = new Map(nodes.map((n) => [n.nodeId, n.properties?.find((p) => p.name === 'live')]));
    const regions = nodes.filter((n) => live.get(n.nodeId)?.value.value === 'polite' &&
                                        !live.get(n.parentId));
    assert.deepEqual(regions.map((n) => n.role.value), ['generic']);
    const heard = async (expected) => {
      await new Promise((resolve) => setTimeout(resolve, 900));
      assert.deepEqual(await page.evaluate(() => window.heard.splice(0).filter((h) => h)), expected);
    };
    await page.keyboard.type('(2+3)*4');
    await heard(['<span>(2+3)*4 = 20</span>']);
    await page.keyboard.press('Enter');
    await heard(['<span>In the history</span>. <span>(2+3)*4 = 20</span>']);
    await page.keyboard.type('2=');
    await heard(['<span lang="fr">Erreur de syntaxe</span>']);
    assert.equal(await page.getAttribute('#answer > span', 'lang'), 'fr');
    await page.keyboard.press('Control+A');
    await paste(page, '\n7\n8\n9=\n1');
    await heard(['<span>2 lines in the history, the newest</span>. <span>8 = 8</span>. ' +
                 '<span>1 more line waits</span>']);
    await page.click('#drop');
    await heard(['<span>The waiting lines are dropped</span>']);
    assert.deepEqual(trouble, []);
    await context.close();
  });

  test('the borders of the controls stand out 3 : 1 around them, light and dark', async () => {
    const {context, page} = await open();
    await paste(page, '2=\n1');
    for (const colorScheme of ['light', 'dark']) {
      await page.emulateMedia({colorScheme});
      const ratios = await page.evaluate(() => {
        const luminance = (color) => color.match(/\d+/g).slice(0, 3).map((c) => c / 255)
          .map((c) => (c <= 0.03928 ? c / 12.92 : ((c + 0.055) / 1.055) ** 2.4))
          .reduce((sum, c, i) => sum + c * [0.2126, 0.7152, 0.0722][i], 0);
        const contrast = (a, b) => {
          const [high, low] = [luminance(a), luminance(b)].sort((x, y) => y - x);
          return (high + 0.05) / (low + 0.05);
        };
        const page = getComputedStyle(document.body).backgroundColor;
        return ['#input', '#drop'].map((s) => {
          const style = getComputedStyle(document.querySelector(s));
          return Math.min(contrast(style.borderTopColor, style.backgroundColor),
                          contrast(style.borderTopColor, page));
        });
      });
      for (const ratio of ratios) assert.ok(ratio >= 3, `${colorScheme}: ${ratios}`);
    }
    await context.close();
  });


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
    for (const [width, height, form] of [[320, 640, 'phone'], [1024, 600, 'desktop']]) {
      for (const colorScheme of ['light', 'dark']) {
        const {context, page} = await open({viewport: {width, height}, colorScheme});
        await page.screenshot({path: join(outputDir, `${form}-${colorScheme}-first-visit.png`)});
        for (const line of ['1234567.891', '(1+2)(3+4)', '2^0.5', '123456789012345678901234567890*3']) {
          await page.keyboard.type(`${line}\r`);
        }
        await page.keyboard.type('1/3');
        await page.keyboard.press('ArrowUp');
        await page.keyboard.press('ArrowUp');
        await page.screenshot({path: join(outputDir, `${form}-${colorScheme}.png`)});
        await context.close();
      }
    }
  });
});
