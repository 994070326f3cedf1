// The software extended format against the FPU's long double, operation by
// operation: each benchmark is registered twice, "/x87" and "/soft", on the
// same 1,024 operands, numbers of the size a user types (exponents within
// 2^±40). The decimal conversions compare the exact software ones, which the
// engine now calls on every machine, with the C library's strtold and
// std::to_chars that it called on x86 before.
//   build/release/bench/lumocalc-extended-bench
#include <benchmark/benchmark.h>

#include <charconv>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <type_traits>
#include <vector>

#include "bench/seeded_operands.h"
#include "number/extended.h"
#include "number/fpu_control.h"

namespace {

constexpr std::size_t kCount = 1024;

struct Operands {
  std::vector<SoftExtended> a, b;
  std::vector<std::uint64_t> digits;
  std::vector<std::int64_t> scale;
  Operands() {
    SeededOperands operands(1);
    for (std::size_t i = 0; i < kCount; ++i) {
      a.push_back(operands.Typical());
      b.push_back(operands.Typical());
      digits.push_back(operands.Next() % 1000000000000000000);
      scale.push_back(static_cast<std::int64_t>(operands.Next() % 600) - 300);
    }
  }
};
const Operands& Inputs() {
  static const Operands operands;
  return operands;
}

template <typename T>
T As(SoftExtended x) {
  if constexpr (std::is_same_v<T, SoftExtended>) {
    return x;
  } else {
    return ToLongDouble(x);
  }
}

template <typename T>
std::vector<T> Values(const std::vector<SoftExtended>& v) {
  std::vector<T> out;
  for (const SoftExtended x : v) out.push_back(As<T>(x));
  return out;
}

template <typename T, typename Op>
void Binary(benchmark::State& state, Op op) {
  const std::vector<T> a = Values<T>(Inputs().a), b = Values<T>(Inputs().b);
  std::size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(op(a[i], b[i]));
    i = (i + 1) % kCount;
  }
}

template <typename T, typename Op>
void Unary(benchmark::State& state, Op op) {
  const std::vector<T> a = Values<T>(Inputs().a);
  std::size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(op(a[i]));
    i = (i + 1) % kCount;
  }
}

// Registers op on both types, side by side; f takes either.
template <typename F>
void Binary2(const char* op, F f) {
  benchmark::RegisterBenchmark((std::string(op) + "/x87").c_str(), Binary<long double, F>, f);
  benchmark::RegisterBenchmark((std::string(op) + "/soft").c_str(), Binary<SoftExtended, F>, f);
}
template <typename F>
void Unary2(const char* op, F f) {
  benchmark::RegisterBenchmark((std::string(op) + "/x87").c_str(), Unary<long double, F>, f);
  benchmark::RegisterBenchmark((std::string(op) + "/soft").c_str(), Unary<SoftExtended, F>, f);
}

void RegisterArithmetic() {
  Binary2("Add", [](auto x, auto y) { return x + y; });
  Binary2("Subtract", [](auto x, auto y) { return x - y; });
  Binary2("Multiply", [](auto x, auto y) { return x * y; });
  Binary2("Divide", [](auto x, auto y) { return x / y; });
  Binary2("Less", [](auto x, auto y) { return x < y; });
  Unary2("ToDouble", [](auto x) { return ToDouble(x); });
  Unary2("FromDouble", [](auto x) { return static_cast<decltype(x)>(static_cast<double>(x)); });
  Unary2("NearbyInt", [](auto x) { return NearbyInt(x); });
  Unary2("Log", [](auto x) { return Log(Abs(x)); });
  Unary2("Exp", [](auto x) { return Exp(x); });
}

void ExactDecimalStrtold(benchmark::State& state) {
  std::size_t i = 0;
  for (auto _ : state) {
    char text[48];
    char* end = std::to_chars(text, text + 24, Inputs().digits[i]).ptr;
    *end++ = 'e';
    *std::to_chars(end, text + sizeof text - 1, Inputs().scale[i]).ptr = '\0';
    benchmark::DoNotOptimize(std::strtold(text, nullptr));
    i = (i + 1) % kCount;
  }
}
void ExactDecimalSoft(benchmark::State& state) {
  std::size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(SoftExactDecimal(Inputs().digits[i], Inputs().scale[i]));
    i = (i + 1) % kCount;
  }
}
void Digits18ToChars(benchmark::State& state) {
  const std::vector<long double> a = Values<long double>(Inputs().a);
  std::size_t i = 0;
  for (auto _ : state) {
    char text[64];
    benchmark::DoNotOptimize(std::to_chars(text, text + sizeof text, std::fabs(a[i]),
                                           std::chars_format::scientific, 17));
    i = (i + 1) % kCount;
  }
}
void Digits18Soft(benchmark::State& state) {
  std::size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(SoftExactDigits18(Abs(Inputs().a[i])));
    i = (i + 1) % kCount;
  }
}

}  // namespace

int main(int argc, char** argv) {
  LoadFpuControlWord();
  RegisterArithmetic();
  benchmark::RegisterBenchmark("ExactDecimal/strtold", ExactDecimalStrtold);
  benchmark::RegisterBenchmark("ExactDecimal/soft", ExactDecimalSoft);
  benchmark::RegisterBenchmark("Digits18/to_chars", Digits18ToChars);
  benchmark::RegisterBenchmark("Digits18/soft", Digits18Soft);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
