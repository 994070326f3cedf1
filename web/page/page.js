// The page's glue: it moves the input's text into the module and the
// module's outcome onto the page. What a line is worth, whether Enter
// commits or refuses it and how a paste with line ends is taken are the
// module's (web/exports.cpp); nothing here decides them.
'use strict';
(() => {
  const input = document.getElementById('input');
  const answer = document.querySelector('#answer > span').appendChild(document.createTextNode(''));
  const history = document.getElementById('history');
  const note = document.getElementById('note');
  const drop = document.getElementById('drop');
  const encoder = new TextEncoder();
  const decoder = new TextDecoder();
  // What a call changed (bits), and the parts of its outcome (web/exports.cpp).
  const kInput = 1, kAnswer = 2, kCut = 4;
  const kBeforeCaret = 0, kAfterCaret = 1, kAnswerPart = 2, kHistory = 4;
  // The longest answer shown whole. Laying out and painting a 32 KB answer
  // takes 40 to 200 ms, several frames; its end, where the value is, is what
  // the line shows anyway.
  const kShownAnswer = 1000;
  let calculator;
  let entries = 0;  // history entries on the page

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

  function entry(text) {
    const item = document.createElement('li');
    item.append(document.createElement('span'));
    item.firstChild.textContent = text;
    return item;
  }

  function show(changed) {
    if (changed & kInput) {
      const before = part(kBeforeCaret);
      input.value = before + part(kAfterCaret);
      input.setSelectionRange(before.length, before.length);
    }
    if (changed & kAnswer) {
      const text = part(kAnswerPart);
      answer.data = text.length > kShownAnswer ? '…' + text.slice(-kShownAnswer) : text;
    }
    for (const count = calculator._lumocalc_history_size(); entries < count; ++entries) {
      history.prepend(entry(part(kHistory + entries)));
    }
    // Written only when it changes, so that a keystroke lays out no more than the answer.
    const waiting = calculator._lumocalc_waiting();
    const text = (changed & kCut ? 'Pasted lines are cut at 32,767 characters. ' : '') +
        (waiting === 0 ? '' : waiting === 1 ? '1 more line waits' : `${waiting} more lines wait`);
    if (note.textContent !== text) note.textContent = text;
    if (drop.hidden !== (waiting === 0)) drop.hidden = waiting === 0;
  }

  function changed() {
    show(calculator._lumocalc_change(...write(input.value)));
  }

  // The text replaces the selection: a paste, a drop (which goes where a
  // paste would), or Enter's line end.
  function type(text, from = input.selectionStart, to = input.selectionEnd) {
    const value = input.value;
    show(calculator._lumocalc_type(...write(value.slice(0, from), text, value.slice(to))));
  }

  function paste(event, text) {
    event.preventDefault();
    if (text !== '') type(text);
  }

  input.addEventListener('input', changed);
  input.addEventListener('paste', (event) => paste(event, event.clipboardData.getData('text/plain')));
  input.addEventListener('drop', (event) => paste(event, event.dataTransfer.getData('text/plain')));
  // Enter in the input submits its form. Its line end goes after the
  // selection, which stays part of the line.
  document.getElementById('line').addEventListener('submit', (event) => {
    event.preventDefault();
    type('\n', input.selectionEnd, input.selectionEnd);
  });
  drop.addEventListener('click', () => {
    calculator._lumocalc_drop_waiting();
    show(0);
    input.focus();
  });

  // The module is compiled as the page loads, synchronously: it is small,
  // and so the page is ready as soon as it shows, with no request made for it.
  calculator = createLumocalc();
  document.documentElement.dataset.ready = '';
})();
