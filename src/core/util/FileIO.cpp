#include "util/FileIO.h"

#include <cstdio>
#include <fstream>
#include <mutex>
#include <system_error>
#include <vector>

#include "util/Paths.h"
#include "util/Report.h"

namespace tessel {

namespace {

std::mutex& injectorMutex() {
  static std::mutex m;
  return m;
}
WriteFaultInjector& injector() {
  static WriteFaultInjector f;
  return f;
}

bool injectedFailure(const fs::path& path) {
  std::lock_guard lock(injectorMutex());
  return injector() && !injector()(path);
}

void removeQuietly(const fs::path& path) {
  std::error_code ec;
  fs::remove(path, ec);
}

}  // namespace

void setWriteFaultInjector(WriteFaultInjector f) {
  std::lock_guard lock(injectorMutex());
  injector() = std::move(f);
}

namespace {

// One output file being written: every failure (open, write, flush, close)
// ends in a removed file and a reason.
class OutputFile {
 public:
  explicit OutputFile(const fs::path& path)
      : path_(path), out_(path, std::ios::binary | std::ios::trunc) {
    if (!out_) failure_ = "cannot create " + pathToUtf8(path_);
  }
  bool ok() const { return failure_.empty(); }
  bool write(ByteView part) {
    if (!ok() || part.empty()) return ok();
    if (injectedFailure(path_)) return fail();
    out_.write(reinterpret_cast<const char*>(part.data()), static_cast<std::streamsize>(part.size()));
    return out_ ? true : fail();
  }
  // Closes the file; removes it when anything failed.
  bool finish(std::string* error) {
    if (ok()) {
      out_.flush();
      if (!out_) fail();
    }
    out_.close();
    if (ok() && out_.fail()) fail();
    if (!ok()) {
      removeQuietly(path_);
      if (error) *error = failure_;
    }
    return ok();
  }
  bool fail(const std::string& why = {}) {
    if (failure_.empty()) {
      failure_ = why.empty() ? "cannot write " + pathToUtf8(path_) + " (disk full or I/O error)"
                             : why;
    }
    return false;
  }

 private:
  fs::path path_;
  std::ofstream out_;
  std::string failure_;
};

}  // namespace

bool writeFile(const fs::path& path, std::initializer_list<ByteView> parts, std::string* error) {
  OutputFile out(path);
  for (ByteView part : parts) {
    if (!out.write(part)) break;
  }
  return out.finish(error);
}

std::optional<Bytes> readFile(const fs::path& path, std::uint64_t maxSize) {
  std::error_code ec;
  if (!fs::is_regular_file(path, ec)) return std::nullopt;
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  in.seekg(0, std::ios::end);
  const std::streamoff size = in.tellg();
  if (size < 0 || static_cast<std::uint64_t>(size) > maxSize) return std::nullopt;
  in.seekg(0, std::ios::beg);
  Bytes data(static_cast<std::size_t>(size));
  if (size > 0 && !in.read(reinterpret_cast<char*>(data.data()), size)) return std::nullopt;
  return data;
}

std::optional<Bytes> readFileHead(const fs::path& path, std::size_t count) {
  std::error_code ec;
  if (!fs::is_regular_file(path, ec)) return std::nullopt;
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  Bytes data(count);
  in.read(reinterpret_cast<char*>(data.data()), static_cast<std::streamsize>(count));
  data.resize(static_cast<std::size_t>(in.gcount()));
  return data;
}

bool copyFile(const fs::path& from, const fs::path& to, std::string* error) {
  if (error) error->clear();
  std::error_code ec;
  if (from.empty() || !fs::is_regular_file(from, ec)) return false;
  std::ifstream in(from, std::ios::binary);
  if (!in) return false;
  // Streamed in blocks: sounds and tables of any size copy with the same
  // failure handling as every other output.
  OutputFile out(to);
  std::vector<char> block(std::size_t(1) << 20);
  while (out.ok()) {
    in.read(block.data(), static_cast<std::streamsize>(block.size()));
    const std::streamsize got = in.gcount();
    if (got > 0) {
      out.write(ByteView(reinterpret_cast<const std::uint8_t*>(block.data()),
                         static_cast<std::size_t>(got)));
    }
    if (in.eof()) break;
    if (!in) out.fail("cannot read " + pathToUtf8(from));
  }
  return out.finish(error);
}

bool writeOutput(Report& report, const fs::path& path, std::initializer_list<ByteView> parts) {
  std::string error;
  if (writeFile(path, parts, &error)) {
    ++report.filesWritten;
    return true;
  }
  report.writeFailures.push_back(path);
  report.warn(error);
  return false;
}

bool copyOutput(Report& report, const fs::path& from, const fs::path& to) {
  std::string error;
  if (copyFile(from, to, &error)) {
    ++report.filesWritten;
    return true;
  }
  if (!error.empty()) {
    // The target folder is missing: a quiet failure, as for a missing source.
    std::error_code ec;
    if (!fs::is_directory(to.parent_path(), ec)) return false;
    report.writeFailures.push_back(to);
    report.warn(error);
  }
  return false;
}

}  // namespace tessel
