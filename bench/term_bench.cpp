// lumocalc's response to a key: from the key written to the terminal until
// the screen shows the new state, rendered by libvterm from what lumocalc
// wrote. Run it through scripts/bench.sh term.
//
// Each case types on a line it pastes in first and alternates two keys that
// undo each other, so every iteration changes the screen and the two states
// to wait for are known in advance: the result row (as Calculate answers the
// line, cut to the screen's width) and the caret's column.
#include <benchmark/benchmark.h>

#include <string>
#include <string_view>

#include "eval/calculate.h"
#include "number/fpu_control.h"
#include "testkit/pty_screen.h"

namespace {

constexpr int kCols = 80;
constexpr int kRows = 24;
constexpr int kTimeoutMs = 10000;
constexpr std::size_t kLongLine = 32766;  // one less than the limit: room to type

struct Screen {
  std::string result_row;
  int caret_column = 0;
};

// What the result row shows for a line: its answer, or the answer's end
// behind "<" when it is wider than the screen.
Screen Expected(const std::string& line, std::size_t caret) {
  std::string row = Calculate(line);
  if (row.size() > kCols) row = "<" + row.substr(row.size() - (kCols - 1));
  row.erase(row.find_last_not_of(' ') + 1);
  const std::size_t column = caret < kCols ? caret : kCols - 1;
  return {row, static_cast<int>(column)};
}

void AwaitScreen(benchmark::State& state, PtyScreen& screen, const Screen& expected) {
  if (!screen.Await(
          [&] {
            return screen.Cursor().second == expected.caret_column &&
                   screen.Row(1) == expected.result_row;
          },
          kTimeoutMs)) {
    state.SkipWithError("the screen never showed the expected state");
  }
}

// `line` pasted in, the caret moved by `position`; then `key` and `undo`
// in turn, which take the line from `before` to `after` and back.
void KeyLatency(benchmark::State& state, const std::string& line, std::string_view position,
                std::string_view key, std::string_view undo, const Screen& before,
                const Screen& after) {
  PtyScreen screen(LUMOCALC_TERM, kCols, kRows);
  screen.Await([&] { return !screen.Row(2).empty(); }, kTimeoutMs);
  screen.Send("\033[200~" + line + "\033[201~");
  screen.Send(position);
  AwaitScreen(state, screen, before);
  bool forth = true;
  for (auto _ : state) {
    screen.Send(forth ? key : undo);
    AwaitScreen(state, screen, forth ? after : before);
    forth = !forth;
  }
  screen.Send("\x03");
  screen.Exit(kTimeoutMs);
}

std::string Sum(std::size_t length) {
  std::string line;
  while (line.size() + 2 <= length) line += "1+";
  line.resize(length, '1');
  return line;
}

void TypeAtEndOfTypicalLine(benchmark::State& state) {
  const std::string line = "12345*678+9/3";
  KeyLatency(state, line, "", "7", "\x7f", Expected(line, line.size()),
             Expected(line + "7", line.size() + 1));
}

void CaretLeftOnTypicalLine(benchmark::State& state) {
  const std::string line = "(1+2)*(3+4)/7";
  KeyLatency(state, line, "", "\033[D", "\033[C", Expected(line, line.size()),
             Expected(line, line.size() - 1));
}

void TypeAtEndOfLongLine(benchmark::State& state) {
  const std::string line = Sum(kLongLine);
  KeyLatency(state, line, "", "1", "\x7f", Expected(line, line.size()),
             Expected(line + "1", line.size() + 1));
}

void TypeAtStartOfLongLine(benchmark::State& state) {
  const std::string line = Sum(kLongLine);
  KeyLatency(state, line, "\x01", "9", "\x7f", Expected(line, 0), Expected("9" + line, 1));
}

void CaretLeftOnLongLine(benchmark::State& state) {
  const std::string line = Sum(kLongLine);
  KeyLatency(state, line, "", "\033[D", "\033[C", Expected(line, line.size()),
             Expected(line, kCols - 2));
}

}  // namespace

BENCHMARK(TypeAtEndOfTypicalLine)->UseRealTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(CaretLeftOnTypicalLine)->UseRealTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(TypeAtEndOfLongLine)->UseRealTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(TypeAtStartOfLongLine)->UseRealTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(CaretLeftOnLongLine)->UseRealTime()->Unit(benchmark::kMicrosecond);

int main(int argc, char** argv) {
  LoadFpuControlWord();  // the waited-for answers are Calculate's in the program's mode
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
