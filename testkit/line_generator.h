// Lines of every shape a user could type or paste, from a seed: arithmetic,
// sign runs, decimal commas, unbalanced, adjacent and reversed parentheses,
// exponent and radix texts, overflow, blanks and tabs, letters, arbitrary
// bytes and now and then a long line.
#pragma once

#include <cstdint>
#include <random>
#include <string>
#include <string_view>

class LineGenerator {
 public:
  explicit LineGenerator(std::uint64_t seed) : random_(seed) {}
  std::string Next();

 private:
  std::size_t Below(std::size_t n) { return static_cast<std::size_t>(random_() % n); }
  bool OneIn(std::size_t n) { return Below(n) == 0; }
  std::string_view Piece(std::string_view pieces);  // one of "a|b|c", at random
  std::string Number();
  std::string Expression(int depth);
  std::string Soup();
  std::string Bytes();
  std::string Long();
  std::string Mutated(std::string line);

  std::mt19937_64 random_;
};
