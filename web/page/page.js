// The page's glue: it moves the input's text into the module and the
// module's outcome onto the page. What a line is worth, whether Enter
// commits or refuses it, how a paste with line ends is taken and which line
// Up and Down bring back are the module's (web/exports.cpp); nothing here
// decides them.
'use strict';
(() => {
  const input = document.getElementById('input');
  const answerBox = document.querySelector('#answer > span');
  const answer = answerBox.appendChild(document.createTextNode(''));
  const history = document.getElementById('history');
  const hint = document.getElementById('hint');
  const note = document.getElementById('note');
  const drop = document.getElementById('drop');
  const spoken = document.getElementById('spoken');
  const encoder = new TextEncoder();
  const decoder = new TextDecoder();
  // What a call changed (bits), and the parts of its outcome (web/exports.cpp).
  const kInput = 1, kAnswer = 2, kCut = 4;
  const kBeforeCaret = 0, kAfterCaret = 1, kAnswerPart = 2, kHistory = 4;
  // The longest answer shown whole. Laying out and painting a 32 KB answer
  // takes 40 to 200 ms, several frames; its end, where the value is, is what
  // the line shows anyway.
  const kShownAnswer = 1000;
  // The engine's one error, in French: marked so, a screen reader speaks it
  // with a French voice.
  const kError = 'Erreur de syntaxe';
  // History entries laid out at a time. Only the newest are in the page, and
  // older ones are added as the list is scrolled to its end, so that a
  // history of thousands of lines costs a key or a commit no more than a short one.
  const kBatch = 100;
  // The answer is spoken once typing pauses this long, not at every key.
  const kPauseMs = 700;
  // A long paste is taken a part at a time, a task each, so that the page
  // goes on painting; it takes no keys meanwhile (about a second for 10,000
  // lines), and says so. The first part has kFirstLines lines; each next one
  // as many as the last part's pace says fit in kPartMs.
  const kFirstLines = 200;
  const kPartMs = 30;
  let calculator;
  let entries = 0;  // history entries in the module the page has taken note of
  let wanted = kBatch;  // how many of the newest the list holds at most
  let pause;
  let taking = null;  // a long paste being taken: the rest, its next part's lines, the lines committed

  // Writes the texts one after the other into the module's buffer, UTF-8;
  // returns their sizes in bytes.
  function write(...texts) {
    let at = calculator._lumocalc_buffer(texts.reduce((room, text) => room + 3 * text.length, 0));
    const memory = calculator.HEAPU8;
    return texts.map((text) => {
      const {written} = encoder.encodeInto(text, memory.subarray(at));
      at += written;
      return written;
    });
  }

  function part(number) {
    const at = calculator._lumocalc_part(number);
    return decoder.decode(calculator.HEAPU8.subarray(at, at + calculator._lumocalc_part_size(number)));
  }

  // Text in a span of its own, marked French when it is the error.
  function span(text) {
    const element = document.createElement('span');
    element.textContent = text;
    if (text === kError) element.lang = 'fr';
    return element;
  }

  // Tells a screen reader, once (a polite live region, which nothing else is).
  function say(...texts) {
    clearTimeout(pause);
    spoken.replaceChildren(...texts.flatMap((text, i) => (i ? ['. ', span(text)] : [span(text)])));
  }

  // History entry `index` (oldest first): a button that brings its line back.
  function entry(index) {
    const item = document.createElement('li');
    const button = item.appendChild(document.createElement('button'));
    button.type = 'button';
    button.tabIndex = -1;
    button.dataset.index = index;
    button.append(span(part(kHistory + index)));
    return item;
  }

  // One entry of the list is reached by Tab, the newest unless another has
  // been moved to; arrow keys move among them.
  function rove(button) {
    const was = history.querySelector('button[tabindex="0"]');
    if (was) was.tabIndex = -1;
    if (button) button.tabIndex = 0;
  }

  // The next older entries, once the list is scrolled to its end.
  const older = new IntersectionObserver((seen) => {
    if (!seen.some((s) => s.isIntersecting) || history.childElementCount >= entries) return;
    const from = entries - 1 - history.childElementCount;
    const batch = document.createDocumentFragment();
    for (let i = from; i > from - kBatch && i >= 0; --i) batch.append(entry(i));
    history.append(batch);
    wanted = history.childElementCount;
    older.disconnect();
    older.observe(history.lastElementChild);
  });

  // Puts the entries committed since the last look on top of the list, and
  // keeps no more than `wanted` of them laid out.
  function takeCommitted() {
    const count = calculator._lumocalc_history_size();
    const added = count - entries;
    if (added === 0) return 0;
    const fresh = document.createDocumentFragment();
    for (let i = count - 1; i >= Math.max(entries, count - wanted); --i) fresh.append(entry(i));
    history.prepend(fresh);
    for (let extra = history.childElementCount - wanted; extra > 0; --extra) {
      history.lastElementChild.remove();
    }
    entries = count;
    if (!history.contains(document.activeElement)) rove(history.querySelector('button'));
    hint.hidden = true;
    older.disconnect();
    older.observe(history.lastElementChild);
    return added;
  }

  function show(changed) {
    if (changed & kInput) {
      const before = part(kBeforeCaret);
      input.value = before + part(kAfterCaret);
      input.setSelectionRange(before.length, before.length);
      // A line brought back ends with the caret, which is to be in sight.
      if (before.length === input.value.length) input.scrollLeft = input.scrollWidth;
    }
    const told = [];
    let added = takeCommitted();
    if (taking) {
      taking.added += added;
      added = taking.rest ? 0 : taking.added;
    }
    if (added > 0) {
      told.push(added === 1 ? 'In the history' : `${added} lines in the history, the newest`,
                part(kHistory + entries - 1));
    }
    if (changed & kAnswer) {
      const text = part(kAnswerPart);
      answer.data = text.length > kShownAnswer ? '…' + text.slice(-kShownAnswer) : text;
      if (text === kError) answerBox.lang = 'fr';
      else answerBox.removeAttribute('lang');
    }
    // Written only when it changes, so that a keystroke lays out no more than the answer.
    const waiting = calculator._lumocalc_waiting();
    const text = (changed & kCut ? 'Pasted lines are cut at 32,767 characters. ' : '') +
        (taking?.rest ? 'Taking the pasted lines…' :
         waiting === 0 ? '' : waiting === 1 ? '1 more line waits' : `${waiting} more lines wait`);
    if (note.textContent !== text) {
      note.textContent = text;
      if (text) told.push(text);
    }
    if (drop.hidden !== (waiting === 0)) drop.hidden = waiting === 0;
    if (told.length > 0) {
      say(...told);
    } else if (changed & kAnswer) {
      clearTimeout(pause);
      pause = setTimeout(() => say(answer.data), kPauseMs);
    }
  }

  function changed() {
    show(calculator._lumocalc_change(...write(input.value)));
  }

  // The text's first `lines` lines and the rest, cut after a line end.
  function cut(text, lines) {
    const ends = /\r\n|\r|\n/g;
    while (lines-- > 0 && ends.exec(text));
    return lines < 0 && ends.lastIndex > 0 ? [text.slice(0, ends.lastIndex), text.slice(ends.lastIndex)]
                                           : [text, ''];
  }

  // The text replaces the selection: a paste, a drop (which goes where a
  // paste would), or Enter's line end.
  function type(text, from = input.selectionStart, to = input.selectionEnd) {
    const value = input.value;
    const [part, rest] = cut(text, kFirstLines);
    if (rest) {
      taking = {rest, lines: kFirstLines, added: 0};
      input.readOnly = true;
    }
    const start = performance.now();
    show(calculator._lumocalc_type(...write(value.slice(0, from), part, value.slice(to))));
    if (taking) pace(start);
  }

  // The next part's lines from the last part's time, and its task.
  function pace(start) {
    const took = Math.max(performance.now() - start, 1);
    taking.lines = Math.max(1, Math.round(taking.lines * Math.min(kPartMs / took, 4)));
    setTimeout(takeMore);
  }

  function takeMore() {
    const start = performance.now();
    const [part, rest] = cut(taking.rest, taking.lines);
    taking.rest = rest;
    if (!rest) input.readOnly = false;
    show(calculator._lumocalc_more(...write(part)));
    if (rest) pace(start);
    else taking = null;
  }

  function recall(to) {
    show(calculator._lumocalc_recall(to));
  }

  function paste(event, text) {
    event.preventDefault();
    if (text !== '' && !taking) type(text);
  }

  input.addEventListener('input', changed);
  input.addEventListener('paste', (event) => paste(event, event.clipboardData.getData('text/plain')));
  input.addEventListener('drop', (event) => paste(event, event.dataTransfer.getData('text/plain')));
  // Up and Down bring back the committed lines, newest first, as in the terminal.
  input.addEventListener('keydown', (event) => {
    const up = event.key === 'ArrowUp';
    if (!(up || event.key === 'ArrowDown') || event.altKey || event.ctrlKey || event.metaKey ||
        event.shiftKey) {
      return;
    }
    // Past the oldest or the newest line, the key does nothing, caret included.
    event.preventDefault();
    if (taking) return;
    const recalled = calculator._lumocalc_recalled();
    if (up ? recalled < entries : recalled > 0) recall(up ? recalled + 1 : recalled - 1);
  });
  // Enter in the input submits its form. Its line end goes after the
  // selection, which stays part of the line.
  document.getElementById('line').addEventListener('submit', (event) => {
    event.preventDefault();
    if (!taking) type('\n', input.selectionEnd, input.selectionEnd);
  });
  drop.addEventListener('click', () => {
    if (taking) return;
    calculator._lumocalc_drop_waiting();
    show(0);
    say('The waiting lines are dropped');
    input.focus();
  });
  // An entry chosen (a click, a tap, Enter or Space) brings its line back
  // into the input; the arrow keys move among the entries.
  history.addEventListener('click', (event) => {
    const button = event.target.closest('button');
    if (!button || taking) return;
    recall(entries - Number(button.dataset.index));
    input.focus();
  });
  history.addEventListener('focusin', (event) => rove(event.target.closest('button')));
  history.addEventListener('keydown', (event) => {
    const item = event.target.closest('li');
    const to = {ArrowDown: item?.nextElementSibling, ArrowUp: item?.previousElementSibling,
                Home: history.firstElementChild, End: history.lastElementChild}[event.key];
    if (!to) return;
    event.preventDefault();
    to.firstElementChild.focus();
  });

  // The module is compiled as the page loads, synchronously: it is small,
  // and so the page is ready as soon as it shows, with no request made for it.
  calculator = createLumocalc();
  document.documentElement.dataset.ready = '';
})();
