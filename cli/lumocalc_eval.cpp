// lumocalc-eval: the calculator's engine for scripts, pipes and machines
// without a display. Each expression gets exactly the text the window would
// show for it, one line each.
#include <cerrno>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#define read _read
#define write _write
#else
#include <unistd.h>
#endif

#include "cli/escape.h"
#include "diag/debug_log.h"
#include "eval/calculate.h"
#include "number/fpu_control.h"
#include "session/calculate_typed.h"

namespace {

constexpr const char kUsage[] =
    "usage: lumocalc-eval [--escaped] [--] [EXPR...]\n"
    "       lumocalc-eval --help | --version\n"
    "\n"
    "Prints the calculator's answer for each EXPR, one line each. Without EXPR,\n"
    "reads standard input line by line (LF ends a line, a CR before it is dropped)\n"
    "and answers each line as soon as it is read. Lines are UTF-8, read as lumocalc\n"
    "reads them. How a line is read: man lumocalc-eval.\n"
    "\n"
    "  --escaped  lines are the engine's single-byte text, and lines and answers\n"
    "             use the escapes \\\\ \\t \\r \\n \\xHH, so that any byte string\n"
    "             can be evaluated and compared\n"
    "  --help     this text\n"
    "  --version  the version of lumocalc-eval\n";

constexpr std::size_t kFlushAbove = 1 << 16;

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const auto written = write(fd, bytes.data(), static_cast<unsigned>(bytes.size()));
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  return true;
}

struct Answerer {
  bool escaped = false;
  std::string out;

  // An escaped line is the engine's single-byte text exactly; a plain one is
  // UTF-8, read and answered as the terminal and the web page read theirs.
  void Answer(std::string_view line) {
    if (escaped) {
      out.append(Escape(Calculate(Unescape(line))));
    } else {
      AppendCalculatedTyped(line, AppendCalculated, out);
    }
    out.push_back('\n');
  }
  bool Flush() {
    const bool ok = WriteAll(1, out);
    out.clear();
    return ok;
  }
};

// Reads standard input in chunks and answers every complete line in a chunk
// before reading again, so every answer is out before the program waits for
// more input: interactive use and pipes see one answer per line at once.
int AnswerStandardInput(Answerer& answerer) {
  std::string pending;
  // Left uninitialized: zeroing its 64 KB took more instructions than all else
  // the program does before it reads the first line.
  constexpr std::size_t kChunk = 1 << 16;
  const std::unique_ptr<char[]> chunk(new char[kChunk]);
  for (;;) {
    const auto got = read(0, chunk.get(), static_cast<unsigned>(kChunk));
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) break;
    pending.append(chunk.get(), static_cast<std::size_t>(got));
    std::size_t start = 0;
    for (std::size_t end = pending.find('\n'); end != std::string::npos;
         end = pending.find('\n', start)) {
      std::string_view line(pending.data() + start, end - start);
      if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
      answerer.Answer(line);
      if (answerer.out.size() > kFlushAbove && !answerer.Flush()) return 1;
      start = end + 1;
    }
    pending.erase(0, start);
    if (!answerer.Flush()) return 1;
  }
  if (!pending.empty()) {
    std::string_view line(pending);
    if (line.back() == '\r') line.remove_suffix(1);
    answerer.Answer(line);
  }
  return answerer.Flush() ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  LoadFpuControlWord();
#ifdef _WIN32
  _setmode(0, _O_BINARY);
  _setmode(1, _O_BINARY);
#endif
  Answerer answerer;
  std::vector<std::string_view> expressions;
  bool options_done = false;
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (options_done) {
      expressions.push_back(arg);
    } else if (arg == "--") {
      options_done = true;
    } else if (arg == "--help" || arg == "-h") {
      std::fputs(kUsage, stdout);
      return 0;
    } else if (arg == "--version") {
      std::puts("lumocalc-eval " LUMOCALC_VERSION);
      return 0;
    } else if (arg == "--escaped") {
      answerer.escaped = true;
    } else if (arg.size() > 2 && arg.substr(0, 2) == "--" &&
               ((arg[2] >= 'a' && arg[2] <= 'z') || (arg[2] >= 'A' && arg[2] <= 'Z'))) {
      // «--5» is an expression; «--name» is an option, and not one we know.
      std::fprintf(stderr, "lumocalc-eval: unknown option %s\n\n%s", argv[i], kUsage);
      return 2;
    } else {
      expressions.push_back(arg);
    }
  }

  OpenDebugLog();
  if (expressions.empty()) return AnswerStandardInput(answerer);
  for (const std::string_view expression : expressions) answerer.Answer(expression);
  return answerer.Flush() ? 0 : 1;
}
