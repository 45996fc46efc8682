// The plain entry point of a fuzz target for compilers without libFuzzer:
//   replay_<target> FOLDER...   feeds every file of each folder, in name
// order, to the target once. A fault aborts (the target's checks) or is
// caught by the sanitizers of the build; a folder without inputs is an error,
// so that a replay that reads nothing never passes.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);
extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) __attribute__((weak));

namespace fs = std::filesystem;

int main(int argc, char** argv) {
  if (LLVMFuzzerInitialize) LLVMFuzzerInitialize(&argc, &argv);
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s FOLDER...\n", argv[0]);
    return 2;
  }
  int replayed = 0;
  for (int i = 1; i < argc; ++i) {
    std::vector<fs::path> inputs;
    std::error_code ec;
    for (fs::directory_iterator it(argv[i], ec), end; !ec && it != end; it.increment(ec)) {
      if (it->is_regular_file(ec)) inputs.push_back(it->path());
    }
    if (ec || inputs.empty()) {
      std::fprintf(stderr, "%s: no inputs\n", argv[i]);
      return 1;
    }
    std::sort(inputs.begin(), inputs.end());
    for (const fs::path& input : inputs) {
      std::ifstream in(input, std::ios::binary);
      const std::vector<char> bytes{std::istreambuf_iterator<char>(in),
                                    std::istreambuf_iterator<char>()};
      std::fprintf(stderr, "%s\n", input.filename().c_str());
      // A copy of its own size, as libFuzzer hands it: a read past the end
      // is a read past the buffer.
      std::vector<std::uint8_t> data(bytes.begin(), bytes.end());
      LLVMFuzzerTestOneInput(data.empty() ? nullptr : data.data(), data.size());
      ++replayed;
    }
  }
  std::fprintf(stderr, "replayed %d inputs\n", replayed);
  return 0;
}
