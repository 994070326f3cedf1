#include "testkit/line_generator.h"

#include <algorithm>
#include <string_view>

namespace {

constexpr std::string_view kOperators[] = {"+", "-", "*", "/", "^"};
// Pieces of lines, separated by "|": what the rules react to, and some noise.
constexpr std::string_view kSoup =
    "1|2|0|7|9|.|,|5.5|+|-|*|/|^|(|)|)(| |  |\xA0|E|e|D|E+|E-|1E+300|&|&H|&B|&O|1F|&&|?|%|x|a|=|\t|"
    "--|+-|-+|**|()|(-|-(|.5|1,5|1.2.3|\r|\n|00|1e5|1E-5|&H1F|-&H1F|&HFFFF|&HFFFFFFFF&&|"
    "9.99999999999999E+998|Erreur";

}  // namespace

std::string LineGenerator::Number() {
  std::string n;
  switch (Below(12)) {
    case 0:
      return "0";
    case 1:
      return std::to_string(Below(10));
    case 2:
      return "." + std::to_string(Below(1000));
    case 3:
      return std::to_string(Below(100000)) + (OneIn(2) ? "," : ".") + std::to_string(Below(10000));
    case 4:
      return std::to_string(Below(10)) + (OneIn(2) ? "E" : "e") + (OneIn(2) ? "-" : "") +
             std::to_string(Below(400));
    case 5: {
      static constexpr std::string_view kRadix[] = {"&H", "&h", "&B", "&O", "&Q", "&"};
      n = std::string(kRadix[Below(6)]);
      const std::size_t digits = 1 + Below(18);
      for (std::size_t i = 0; i < digits; ++i) n += "0123456789ABCDEF"[Below(16)];
      static constexpr std::string_view kMarker[] = {"", "", "&", "&&", "?", "%"};
      return n + std::string(kMarker[Below(6)]);
    }
    case 6:
      for (std::size_t i = 0, digits = 1 + Below(25); i < digits; ++i) n += "0123456789"[Below(10)];
      return n;
    case 7:
      return "1E" + std::to_string(Below(2) ? 300 + Below(5000) : Below(20));
    default:
      return std::to_string(Below(1000));
  }
}

std::string LineGenerator::Expression(int depth) {
  std::string e;
  const std::size_t terms = 1 + Below(depth > 2 ? 2 : 5);
  for (std::size_t t = 0; t < terms; ++t) {
    if (t > 0) {
      e += kOperators[Below(5)];
      if (OneIn(6)) e += kOperators[Below(5)];  // a sign or an operator twice
    }
    if (OneIn(8)) e += OneIn(2) ? "-" : "+";
    if (depth < 6 && OneIn(4)) {
      e += "(" + Expression(depth + 1) + (OneIn(10) ? "" : ")");
      if (OneIn(8)) e += "(" + Expression(depth + 1) + ")";  // adjacent groups
    } else {
      e += Number();
    }
    if (OneIn(12)) e += OneIn(4) ? "\xA0" : " ";  // the no-break space is a blank too
  }
  return e;
}

std::string_view LineGenerator::Piece(std::string_view pieces) {
  std::size_t from = 0;
  for (std::size_t skip =
           Below(static_cast<std::size_t>(std::count(pieces.begin(), pieces.end(), '|') + 1));
       skip > 0; --skip) {
    from = pieces.find('|', from) + 1;
  }
  return pieces.substr(from, pieces.find('|', from) - from);
}

std::string LineGenerator::Soup() {
  std::string s;
  for (std::size_t i = 0, n = 1 + Below(14); i < n; ++i) s += Piece(kSoup);
  return s;
}

std::string LineGenerator::Bytes() {
  std::string s(Below(30), '\0');
  for (char& c : s) c = static_cast<char>(Below(256));
  return s;
}

std::string LineGenerator::Long() {
  constexpr std::string_view kPieces = "1+|2*|(|)|2^|(1+2)+|+-|9| |1,|)(|1-|(1|1/3*|-(1E-5";
  const std::string_view piece = Piece(kPieces);
  std::string s = OneIn(2) ? "1" : "";
  const std::size_t length = 200 + Below(2000);
  while (s.size() < length) s += OneIn(50) ? Piece(kPieces) : piece;
  return s + (OneIn(2) ? "1" : "");
}

std::string LineGenerator::Mutated(std::string line) {
  for (std::size_t i = 0, n = 1 + Below(3); i < n && !line.empty(); ++i) {
    const std::size_t at = Below(line.size());
    switch (Below(3)) {
      case 0:
        line.erase(at, 1);
        break;
      case 1:
        line.insert(at, Piece(kSoup));
        break;
      default:
        line[at] = static_cast<char>(Below(256));
    }
  }
  return line;
}

std::string LineGenerator::Next() {
  switch (Below(20)) {
    case 0:
    case 1:
    case 2:
      return Soup();
    case 3:
      return Bytes();
    case 4:
    case 5:
      return Mutated(Expression(0));
    case 6:
      return OneIn(25) ? Long() : Expression(0);
    default:
      return Expression(0);
  }
}
