// The fuzz target as a plain program: runs every file named on the command
// line, and every file under every directory named, through
// LLVMFuzzerTestOneInput. Any compiler builds it, so the corpus is replayed in
// every build and under any sanitizer; a faulty answer aborts with a report.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace fs = std::filesystem;

namespace {

bool ReadFile(const fs::path& path, std::string& bytes) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return !in.bad();
}

// The files of path in a fixed order: path itself, or those under it, sorted.
bool CollectFiles(const fs::path& path, std::vector<fs::path>& files) {
  std::error_code error;
  if (fs::is_regular_file(path, error)) {
    files.push_back(path);
    return true;
  }
  if (!fs::is_directory(path, error)) return false;
  std::vector<fs::path> found;
  for (fs::recursive_directory_iterator it(path, error), end; !error && it != end;
       it.increment(error)) {
    if (it->is_regular_file(error)) found.push_back(it->path());
  }
  if (error) return false;
  std::sort(found.begin(), found.end());
  files.insert(files.end(), found.begin(), found.end());
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: lumocalc-fuzz-replay FILE|DIRECTORY...\n");
    return 2;
  }
  std::vector<fs::path> files;
  for (int i = 1; i < argc; ++i) {
    if (!CollectFiles(argv[i], files)) {
      std::fprintf(stderr, "lumocalc-fuzz-replay: cannot read %s\n", argv[i]);
      return 1;
    }
  }
  // An empty corpus replays nothing and would pass unnoticed.
  if (files.empty()) {
    std::fprintf(stderr, "lumocalc-fuzz-replay: no input files\n");
    return 1;
  }
  std::string bytes;
  for (const fs::path& file : files) {
    if (!ReadFile(file, bytes)) {
      std::fprintf(stderr, "lumocalc-fuzz-replay: cannot read %s\n", file.string().c_str());
      return 1;
    }
    std::fprintf(stderr, "%s\n", file.string().c_str());  // names the culprit of an abort
    LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
  }
  std::printf("replayed %zu inputs\n", files.size());
  return 0;
}
