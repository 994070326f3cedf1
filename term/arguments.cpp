#include "term/arguments.h"

#include <cstdio>
#include <string_view>

namespace {

constexpr const char kUsage[] =
    "usage: lumocalc [--help | --version]\n"
    "\n"
    "The live calculator in a terminal: type an arithmetic line and its answer\n"
    "shows below it at every key; Enter puts the answer on top of the history,\n"
    "newest first. Ctrl+C, Ctrl+Q, or Ctrl+D on an empty line leave. The keys and\n"
    "how a line is read: man lumocalc. For lines from arguments, pipes and files:\n"
    "lumocalc-eval.\n"
    "\n"
    "  --help     this text\n"
    "  --version  the version of lumocalc\n";

}  // namespace

int AnswerArguments(int argc, const char* const* argv) {
  if (argc < 2) return -1;
  const std::string_view first = argv[1];
  if (argc == 2 && (first == "--help" || first == "-h")) {
    std::fputs(kUsage, stdout);
    return 0;
  }
  if (argc == 2 && first == "--version") {
    std::puts("lumocalc " LUMOCALC_VERSION);
    return 0;
  }
  // The first argument that is not an option taken alone.
  const int refused = first == "--help" || first == "-h" || first == "--version" ? 2 : 1;
  std::fprintf(stderr,
               "lumocalc: unknown argument '%s' (see lumocalc --help; lumocalc-eval answers "
               "lines given as arguments)\n",
               argv[refused]);
  return 2;
}
