#include "testkit/case_file.h"

#include <fstream>
#include <regex>
#include <stdexcept>

#include "cli/escape.h"

namespace {

// [TEXT]*N written out.
std::string Expanded(const std::string& text) {
  static const std::regex kRepeat(R"(\[([^\]]*)\]\*(\d+))");
  std::string out;
  auto from = text.cbegin();
  for (std::sregex_iterator it(text.begin(), text.end(), kRepeat), end; it != end; ++it) {
    out.append(from, (*it)[0].first);
    for (int times = std::stoi((*it)[2]); times-- > 0;) out += (*it)[1];
    from = (*it)[0].second;
  }
  return out.append(from, text.cend());
}

}  // namespace

std::vector<Case> ReadCases(std::string_view file_name) {
  const std::string path = std::string(LUMOCALC_CASES_DIR "/").append(file_name);
  std::ifstream file(path, std::ios::binary);
  if (!file) throw std::runtime_error("can't read " + path);
  std::vector<Case> cases;
  std::string line;
  for (int number = 1; std::getline(file, line); ++number) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty() || line[0] == '#') continue;
    Case test_case{std::string(file_name) + ":" + std::to_string(number), {}};
    constexpr std::string_view kSeparator = " => ";
    std::size_t from = 0;
    for (std::size_t at; (at = line.find(kSeparator, from)) != std::string::npos;) {
      test_case.fields.push_back(
          Expanded(Unescape(std::string_view(line).substr(from, at - from))));
      from = at + kSeparator.size();
    }
    std::string_view last = std::string_view(line).substr(from);
    const bool empty_last = last.size() >= 3 && last.substr(last.size() - 3) == " =>";
    if (empty_last) last.remove_suffix(3);
    test_case.fields.push_back(Expanded(Unescape(last)));
    if (empty_last) test_case.fields.emplace_back();
    cases.push_back(std::move(test_case));
  }
  return cases;
}
