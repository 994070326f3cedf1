#!/usr/bin/env bash
# Writes the seeds of the session fuzz target, fuzz/session_corpus/, anew:
# each a session of a person's actions, spelled here as session_fuzzer.cpp
# reads them. A seed is its name, "any" (every action) or "pastes" (pastes
# only), and its actions:
#   t:TEXT        TEXT typed or pasted at the caret (printf's escapes: \r \n
#                 \xHH; in pastes only, \x80 to \x84 are U+00A0, U+202F, ×, €
#                 and the byte 0xFF)
#   r:N           the next text repeated to 32,639 + N bytes
#   o:A:B:TEXT    TEXT typed over the bytes A to B
#   s:C:TEXT      the line set to TEXT, the caret at byte C
#   a letter      e Enter, d drop the lines waiting, p the keys pause, u Up,
#                 n Down; edits: b Backspace, x Delete, h Left, l Right,
#                 a Home, z End, w word left, f word right, y delete to the
#                 start, k to the end, c the word before, g to the word start
set -euo pipefail
cd "$(dirname "$0")"
export LC_ALL=C

text() {
  local bytes
  bytes=$(printf '%b.' "$1")  # the dot keeps the line ends at the end
  bytes=${bytes%.}
  printf '\\x%02x%s' "${#bytes}" "$1"
}
position() { printf '\\x%02x\\x%02x' $(($1 / 256)) $(($1 % 256)); }

seed() {
  local name=$1 mode=$2 out
  shift 2
  [ "$mode" = pastes ] && out=1 || out=0
  for action in "$@"; do
    IFS=: read -r kind a b rest <<<"$action"
    case $kind in
      t) out+="t$(text "${action#t:}")" ;;
      r) out+="r$(printf '\\x%02x' "$a")" ;;
      o) out+="o$(position "$a")$(position "$b")$(text "$rest")" ;;
      s) out+="s$(text "${action#s:*:}")$(position "$a")" ;;
      *) out+=$kind ;;
    esac
  done
  printf '%b' "$out" >"session_corpus/$name"
}

rm -rf session_corpus
mkdir session_corpus
seed edits any t:2+3*4 h h b t:- a x k t:12+345 w w f c g y t:9 l z e
seed enter any 't:1+1\r2*3\n1234' h h e a 't:\r\n'
seed lines pastes 't:12.50\n7.30\r\n4.20\r' 't:\r\n\n9\r\n\r\n8' e
seed blank_lines pastes 't:7\n   \n8\n' 't:7\n\x80\x81\n8' e 't:9=\n\x80\x80\n\x81\n \n'
seed refused pastes 't:1+1\r3=\r\r4\r5' p 't:1\n' 't:\t\n' d 't:2\n'
seed paste_rest pastes 't:2=\n3' 't:4\n5' p 't:\n' 't:1+1\r3=\r\r' 't:4'
seed blank_unended pastes 't:1=\n\x83' p 't:\n\x81'
seed drop any 't:7\n8\n9=\n10\n' d b e
seed recall any 't:1+1\r2*3\r4/' u u u b t:5 n u e u d n
seed over any t:1+5 'o:2:2:0\r\n9' 'o:0:1:\xc3\x97' o:1:0:x
seed set any s:4:12+3 t:5 's:0:1\n2=\n3' s:1:9 e
seed utf8 any 't:6\xc3\x977' h b 't:*' e 't:1\xff2' h b 't:\xe2\x88\x92' 't:\xe2\x82' 't:\xac' a e
seed limit any r:200 t:1+ t:1+1 a e r:255 s:1:9 t:1 b e
