// What lumocalc makes of its command line. It takes no line to evaluate and
// no setting: only --help and --version, which answer without a terminal, so
// that they work in a pipe too. Anything else is refused, never ignored: a
// user who typed «lumocalc 2+3» learns at once that lumocalc-eval is the one
// for that.
#pragma once

// The exit status when the command line is answered (help, version, or a
// refusal with a one-line hint on standard error), or -1 when there are no
// arguments and the calculator is to run.
int AnswerArguments(int argc, const char* const* argv);
