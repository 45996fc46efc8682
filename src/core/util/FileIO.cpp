#include "util/FileIO.h"

#include <fstream>
#include <system_error>
#include <vector>

#include "util/Paths.h"

namespace tessel {

namespace {

void removeQuietly(const fs::path& path) {
  std::error_code ec;
  fs::remove(path, ec);
}

// One output file being written: every failure (open, write, flush, close)
// ends in a removed file and a reason.
class OutputFile {
 public:
  OutputFile(const fs::path& path, const WriteFaults* faults)
      : path_(path), faults_(faults), out_(path, std::ios::binary | std::ios::trunc) {
    if (!out_) failure_ = "cannot create " + pathToUtf8(path_);
  }
  bool ok() const { return failure_.empty(); }
  bool write(ByteView part) {
    if (!ok() || part.empty()) return ok();
    if (faults_ && faults_->fails(path_)) return fail();
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
  const WriteFaults* faults_;
  std::ofstream out_;
  std::string failure_;
};

}  // namespace

bool writeFile(const fs::path& path, std::initializer_list<ByteView> parts, std::string* error,
               const WriteFaults* faults) {
  OutputFile out(path, faults);
  for (ByteView part : parts) {
    if (!out.write(part)) break;
  }
  return out.finish(error);
}

std::optional<ByteView> readFileInto(const fs::path& path, Bytes& buffer, std::uint64_t limit,
                                     bool truncate) {
  std::error_code ec;
  if (!fs::is_regular_file(path, ec)) return std::nullopt;
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  in.seekg(0, std::ios::end);
  const std::streamoff end = in.tellg();
  if (end < 0) return std::nullopt;
  std::uint64_t size = static_cast<std::uint64_t>(end);
  if (size > limit) {
    if (!truncate) return std::nullopt;
    size = limit;
  }
  in.seekg(0, std::ios::beg);
  if (buffer.size() < size) buffer.resize(static_cast<std::size_t>(size));
  if (size > 0) {
    in.read(reinterpret_cast<char*>(buffer.data()), static_cast<std::streamsize>(size));
    // A file that shrank while it was read gives what it still held.
    size = static_cast<std::uint64_t>(in.gcount());
  }
  return ByteView(buffer.data(), static_cast<std::size_t>(size));
}

std::optional<Bytes> readFile(const fs::path& path, std::uint64_t limit, bool truncate) {
  Bytes data;
  const std::optional<ByteView> view = readFileInto(path, data, limit, truncate);
  if (!view) return std::nullopt;
  data.resize(view->size());
  return data;
}

bool copyFile(const fs::path& from, const fs::path& to, std::string* error,
              const WriteFaults* faults) {
  if (error) error->clear();
  std::error_code ec;
  if (from.empty() || !fs::is_regular_file(from, ec)) return false;
  std::ifstream in(from, std::ios::binary);
  if (!in) return false;
  // Streamed in blocks: sounds and tables of any size copy with the same
  // failure handling as every other output.
  OutputFile out(to, faults);
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

void OutputWriter::failed(const fs::path& path, std::string error) {
  report_.writeFailures.push_back(path);
  report_.warn(std::move(error));
}

bool OutputWriter::write(const fs::path& path, std::initializer_list<ByteView> parts) {
  std::string error;
  if (writeFile(path, parts, &error, faults_)) {
    ++report_.filesWritten;
    return true;
  }
  failed(path, std::move(error));
  return false;
}

bool OutputWriter::copy(const fs::path& from, const fs::path& to) {
  std::string error;
  if (copyFile(from, to, &error, faults_)) {
    ++report_.filesWritten;
    return true;
  }
  if (!error.empty()) {
    // The target folder is missing: a quiet failure, as for a missing source.
    std::error_code ec;
    if (!fs::is_directory(to.parent_path(), ec)) return false;
    failed(to, std::move(error));
  }
  return false;
}

}  // namespace tessel
