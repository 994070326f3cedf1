// Calculate on the lines a user types, and on lines as long as the input
// field takes. Only the public entry is measured, so the numbers stay
// comparable whatever the engine does inside.
//
// Two groups:
//   Typical/...  short lines, each timed on its own;
//   Limit/...    32,767-character lines of one shape each, the shapes that
//                would cost an engine that rewrites the whole line on every
//                reduction the most; the delivered engine takes each in time
//                linear in its length. Every case runs for a short minimum
//                time instead of a fixed count, as many iterations as fit, so
//                the whole run stays within a couple of minutes with five
//                repetitions.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "eval/calculate.h"
#include "number/fpu_control.h"

namespace {

// The input field's limit, in characters.
constexpr std::size_t kLimit = 32767;

// The well-formed lines first: the long mixed line is built from them.
constexpr std::size_t kWellFormed = 16;
constexpr std::string_view kTypicalLines[] = {
    "2+3*4",
    "(1+2)*(3+4)/7",
    "1,5*2-0,25",
    "12345.678*9.1",
    "2^10-1",
    "-(2-5)*3",
    "1/3",
    "1E10*1E10",
    "3*(4+5*(6-7))",
    "100/7*7",
    "0,1+0,2",
    "2^0.5",
    "(1+2)(3+4)",
    "17 * 3 - 4 / 2",
    "1234567890*987654321",
    "((2+3)*(4-1))^2/(1,5+0,25)-12345,6789*0,001+(7/3)*(-2)",
    "1+",
    "2)+(3",
    "=5",
    "abc"};

void BenchTypical(benchmark::State& state, std::string line) {
  for (auto _ : state) benchmark::DoNotOptimize(Calculate(line));
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                          static_cast<std::int64_t>(line.size()));
}

// All typical lines in turn: the mean cost of one line of a session.
void BenchTypicalMix(benchmark::State& state) {
  for (auto _ : state) {
    for (const std::string_view line : kTypicalLines) benchmark::DoNotOptimize(Calculate(line));
  }
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) *
                          static_cast<std::int64_t>(std::size(kTypicalLines)));
}

// head, then unit as often as it fits before tail, then blanks up to kLimit:
// trailing blanks are removed before anything else, so they change nothing
// but the length.
std::string AtLimit(std::string_view head, std::string_view unit, std::string_view tail) {
  std::string line(head);
  while (line.size() + unit.size() + tail.size() <= kLimit) line.append(unit);
  line.append(tail);
  line.resize(kLimit, ' ');
  return line;
}

std::string Nested() {
  const std::size_t depth = (kLimit - 1) / 2;
  return std::string(depth, '(') + "1" + std::string(depth, ')');
}

std::string LongNumber() {
  std::string line;
  while (line.size() + 2 < kLimit) line.push_back(static_cast<char>('1' + line.size() % 9));
  return line + "+1";
}

std::string Blanks() {
  return "1" + std::string(kLimit - 3, ' ') + "+1";
}

std::string MixedAtLimit() {
  std::string line;
  for (std::size_t i = 0;; ++i) {
    const std::string_view next = kTypicalLines[i % kWellFormed];
    if (line.size() + next.size() + 3 > kLimit) break;
    if (!line.empty()) line.append("+");
    line.append("(").append(next).append(")");
  }
  line.resize(kLimit, ' ');
  return line;
}

void BenchLimit(benchmark::State& state, std::string line) {
  for (auto _ : state) benchmark::DoNotOptimize(Calculate(line));
  state.counters["chars"] = static_cast<double>(line.size());
}

// Seconds each case runs per repetition, at least one iteration.
constexpr double kMinTime = 0.2;

struct LimitShape {
  const char* name;
  std::string line;
};

std::vector<LimitShape> LimitShapes() {
  return {
      {"Sum", AtLimit("1", "+1", "")},
      {"Product", AtLimit("2", "*1", "")},
      {"Nested", Nested()},
      {"PowerChain", AtLimit("1", "^1", "")},
      {"SameGroups", AtLimit("(1+2)", "+(1+2)", "")},
      {"SignRun", AtLimit("1", "+-", "1")},
      {"LongNumber", LongNumber()},
      {"Blanks", Blanks()},
      {"TypicalMix", MixedAtLimit()},
  };
}

void RegisterAll() {
  for (const std::string_view line : kTypicalLines) {
    benchmark::RegisterBenchmark(("Typical/" + std::string(line)).c_str(), BenchTypical,
                                 std::string(line))
        ->MinTime(kMinTime);
  }
  benchmark::RegisterBenchmark("Typical/AllInTurn", BenchTypicalMix)->MinTime(kMinTime);
  for (LimitShape& shape : LimitShapes()) {
    benchmark::RegisterBenchmark((std::string("Limit/") + shape.name).c_str(), BenchLimit,
                                 std::move(shape.line))
        ->MinTime(kMinTime)
        ->Unit(benchmark::kMillisecond);
  }
}

}  // namespace

int main(int argc, char** argv) {
  LoadFpuControlWord();
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  RegisterAll();
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
