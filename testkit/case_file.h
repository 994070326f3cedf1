// Test cases kept as data in tests/cases/: one case a line, its fields
// separated by " => ". A line that starts with "#" heads a group with the rule
// it checks; blank lines are skipped. Fields take the escapes of
// lumocalc-eval --escaped (\\ \t \r \n \xHH): \x20 keeps a blank at the end of
// a field, where an editor would drop it. Then [TEXT]*N stands for TEXT
// written N times, for the long lines a rule needs.
#pragma once

#include <ostream>
#include <string>
#include <string_view>
#include <vector>

struct Case {
  std::string where;  // «calculate.txt:12», named in every failure
  std::vector<std::string> fields;
  const std::string& operator[](std::size_t i) const { return fields.at(i); }
};

std::vector<Case> ReadCases(std::string_view file_name);

inline void PrintTo(const Case& test_case, std::ostream* out) {
  *out << test_case.where;
}
