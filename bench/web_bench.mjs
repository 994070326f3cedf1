// The web page's speed in a real headless Chromium, and its size:
//   ready     from the start of navigation to lumocalc.html on disk until its
//             module is ready (and until the first paint);
//   answer    from a key (the keydown's time stamp) until the page's input
//             handler has put the new answer into the page;
//   frame     from a key until the next frame showing that answer is laid
//             out and painted (a message posted from requestAnimationFrame
//             runs after the frame's rendering).
// Frames are not held to 60 a second (--disable-frame-rate-limit,
// --disable-gpu-vsync), so that a frame shows its own cost, not the wait
// for the display's next refresh. Keys on a typical line and at the end of a
// line of 32,767 characters (in the page, and in a bare input for the
// browser's own share), keys and commits with 10,000 lines in the
// history, and the paste of those 10,000 lines (until its frame is painted,
// with the longest task the page ran meanwhile); medians, 90th percentiles
// and maxima.
//   node bench/web_bench.mjs PAGE [SAMPLES]
import {mkdtempSync, readFileSync, rmSync} from 'node:fs';
import {tmpdir} from 'node:os';
import {join} from 'node:path';
import {pathToFileURL} from 'node:url';
import {gzipSync} from 'node:zlib';
import {chromium} from 'playwright-core';

const [pagePath, samplesArg] = process.argv.slice(2);
const samples = Number(samplesArg ?? 60);
const url = pathToFileURL(pagePath).href;
const home = mkdtempSync(join(tmpdir(), 'lumocalc-bench-'));
const browser = await chromium.launch({
  executablePath: process.env.LUMOCALC_CHROMIUM ?? '/usr/bin/chromium',
    env: {...process.env, HOME: home},
  args: ['--no-sandbox', '--disable-background-networking', '--disable-component-update',
         '--no-first-run', '--disable-frame-rate-limit', '--disable-gpu-vsync']});

function summary(name, values) {
  const sorted = [...values].sort((a, b) => a - b);
  const at = (q) => sorted[Math.min(sorted.length - 1, Math.floor(q * sorted.length))].toFixed(2);
  console.log(`${name.padEnd(42)} median ${at(0.5).padStart(7)} ms   p90 ${at(0.9).padStart(7)} ms` +
              `   max ${sorted.at(-1).toFixed(2).padStart(7)} ms   (${values.length})`);
}

// Times of the page's life, taken by listeners that run before (keydown,
// at the window while capturing) and after (input, at the window while
// bubbling) the page's own.
function watch() {
  window.lumocalcTimes = [];
  addEventListener('keydown', (event) => { window.lumocalcKey = event.timeStamp; }, true);
  // Typing raises input; Enter submits the form, and commits.
  const shown = () => {
    const key = window.lumocalcKey, answer = performance.now();
    requestAnimationFrame(() => {
      const channel = new MessageChannel();
      channel.port1.onmessage = () => window.lumocalcTimes.push([answer - key, performance.now() - key]);
      channel.port2.postMessage(0);
    });
  };
  addEventListener('input', shown);
  addEventListener('submit', shown);
  window.lumocalcTasks = [];
  new PerformanceObserver((list) => window.lumocalcTasks.push(...list.getEntries().map((e) => e.duration)))
    .observe({type: 'longtask'});
  new MutationObserver(() => { window.lumocalcReady ??= performance.now(); })
    .observe(document, {attributes: true, subtree: true, attributeFilter: ['data-ready']});
}

// Waits in the page until `condition` holds (waitForFunction would evaluate
// a string, which the page's Content-Security-Policy forbids).
function until(page, condition, argument) {
  return page.evaluate(([test, arg]) => new Promise((resolve) => {
    const check = new Function('arg', `return (${test})(arg)`);
    (function poll() { check(arg) ? resolve() : setTimeout(poll, 1); })();
  }), [condition.toString(), argument]);
}

const ready = [], painted = [];
for (let i = 0; i < 20; ++i) {
  const page = await browser.newPage();
  await page.addInitScript(watch);
  await page.goto(url, {waitUntil: 'load'});
  await until(page, () => window.lumocalcReady !== undefined &&
                          performance.getEntriesByName('first-contentful-paint').length > 0);
  const [r, p] = await page.evaluate(() => [
    window.lumocalcReady, performance.getEntriesByName('first-contentful-paint')[0].startTime]);
  ready.push(r);
  painted.push(p);
  await page.close();
}

async function keys(setUp, keysToPress, bare = false) {
  const page = await browser.newPage({viewport: {width: 1024, height: 600}});
  await page.addInitScript(watch);
  await page.goto(bare ? `data:text/html,${encodeURIComponent(bareInput)}` : url);
  await page.waitForSelector('html[data-ready]', {state: 'attached'});
  await setUp(page);
  await page.evaluate(() => { window.lumocalcTimes = []; });
  for (let i = 0; i < samples; ++i) {
    await page.keyboard.press(keysToPress[i % keysToPress.length]);
    await until(page, (n) => window.lumocalcTimes.length > n, i);
  }
  const times = await page.evaluate(() => window.lumocalcTimes);
  await page.close();
  return times;
}

const typical = await keys(async (page) => page.keyboard.type('1234567.891*'),
                           ['2', '+', '3', 'Backspace', 'Backspace', 'Backspace']);
const fillLong = (page) => page.evaluate((line) => {
  const input = document.getElementById('input');
  input.value = line;
  input.dispatchEvent(new Event('input'));
}, '1+'.repeat(16383));
const long = await keys(fillLong, ['1', 'Backspace']);
// The floor under that figure: the same keys in a bare input of the same
// font and width, no script or style of the page's around it. What the
// browser spends editing and drawing 32 KB of text, which the page cannot
// make shorter.
const bareInput = '<!doctype html><html data-ready><input id="input" autofocus ' +
  'style="display:block;width:100%;font:1.125rem/1.5 monospace">';
const bareLong = await keys(fillLong, ['1', 'Backspace'], true);

// 10,000 lines pasted at once: from the paste until the frame after its last
// part is painted,
// and the longest task meanwhile (long tasks are those over 50 ms).
const pastes = [], pasteTasks = [];
async function pasteHistory(page) {
  await page.evaluate(() => { window.lumocalcTasks = []; });
  const lines = `${Array.from({length: 10000}, (_, i) => `${i}*2+1`).join('\n')}\n`;
  pastes.push(await page.evaluate((text) => new Promise((resolve) => {
    const start = performance.now();
    const data = new DataTransfer();
    data.setData('text/plain', text);
    const input = document.getElementById('input');
    input.dispatchEvent(new ClipboardEvent('paste', {clipboardData: data, bubbles: true, cancelable: true}));
    // Taken a part a task, the input read-only until the last.
    (function painted() {
      if (input.readOnly) return setTimeout(painted, 1);
      requestAnimationFrame(() => {
        const channel = new MessageChannel();
        channel.port1.onmessage = () => resolve(performance.now() - start);
        channel.port2.postMessage(0);
      });
    })();
  }), lines));
  await new Promise((resolve) => setTimeout(resolve, 200));  // for the task entries
  pasteTasks.push(Math.max(0, ...await page.evaluate(() => window.lumocalcTasks)));
}
const historyTyping = await keys(async (page) => {
  await pasteHistory(page);
  await page.keyboard.type('1234567.891*');
}, ['2', '+', '3', 'Backspace', 'Backspace', 'Backspace']);
const historyCommits = (await keys(pasteHistory, ['1', 'Enter'])).filter((_, i) => i % 2 === 1);

const page = readFileSync(pagePath);
console.log(`lumocalc.html: ${page.length} bytes, ${gzipSync(page, {level: 9}).length} gzip`);
summary('ready from disk (module ready)', ready);
summary('ready from disk (first paint)', painted);
summary('typical line: key to answer in page', typical.map(([a]) => a));
summary('typical line: key to painted frame', typical.map(([, f]) => f));
summary('32,767 characters: key to answer', long.map(([a]) => a));
summary('32,767 characters: key to painted frame', long.map(([, f]) => f));
summary('32,767 in a bare input: key to frame', bareLong.map(([, f]) => f));
summary('10,000 in history: key to painted frame', historyTyping.map(([, f]) => f));
summary('10,000 in history: commit to painted frame', historyCommits.map(([, f]) => f));
summary('paste of 10,000 lines to painted frame', pastes);
summary('paste of 10,000 lines: longest task', pasteTasks);
await browser.close();
rmSync(home, {recursive: true, force: true});
