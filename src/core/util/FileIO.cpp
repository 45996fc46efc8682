#include "util/FileIO.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <system_error>
#include <vector>

#include "util/Paths.h"
#include "util/Text.h"

namespace tessel {

namespace {

// The system's reason for the last failed call, as a user reads it.
std::string SystemReason(int error) {
  return error != 0 ? std::generic_category().message(error)
                    : trText("Files", "input/output error").str();
}

void RemoveQuietly(const fs::path& path) {
  std::error_code ec;
  fs::remove(path, ec);
}

// Opens `path` as a new file: whatever is there (a file of an earlier run, a
// link to a file elsewhere) is removed first, and the file is created only
// when nothing is there, so that no write ever goes through a link.
std::FILE* CreateFresh(const fs::path& path) {
  std::error_code ec;
  fs::remove(path, ec);  // a link goes as a link; its target is not touched
#ifdef _WIN32
  return _wfopen(path.c_str(), L"wbx");
#else
  return std::fopen(path.c_str(), "wbx");  // O_CREAT | O_EXCL: fails on a link
#endif
}

// One output file being written: into a new file beside its target, which
// is renamed onto the target when everything was written and closed. Every
// failure (open, write, flush, close, rename) ends in a removed partial file,
// the earlier target untouched, and a reason.
class OutputFile {
 public:
  OutputFile(const fs::path& path, const WriteFaults* faults)
      : path_(path), part_(partName(path)), faults_(faults) {
    errno = 0;
    out_ = CreateFresh(part_);
    opened_ = out_ != nullptr;
    if (!out_) {
      const int error = errno;
      failure_ = trText("Files", "cannot create %1: %2").arg(PathToUtf8(path_)).arg(SystemReason(error));
    }
  }
  ~OutputFile() {
    if (out_) std::fclose(out_);
  }
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;
  bool ok() const { return failure_.empty(); }
  bool write(ByteView part) {
    if (!ok() || part.empty()) return ok();
    if (faults_ && faults_->fails(path_)) return fail(ENOSPC);
    errno = 0;
    if (std::fwrite(part.data(), 1, part.size(), out_) != part.size()) return fail(errno);
    written_ += part.size();
    return true;
  }
  std::uint64_t written() const { return written_; }
  // Closes the file and puts it in place; removes it when anything failed.
  bool finish(std::string* error) {
    // An empty file takes room too (its entry in the folder).
    if (ok() && written_ == 0 && faults_ && faults_->fails(path_)) fail(ENOSPC);
    if (out_) {
      errno = 0;
      if (ok() && std::fflush(out_) != 0) fail(errno);
      errno = 0;
      const int closed = std::fclose(out_);
      out_ = nullptr;
      if (ok() && closed != 0) fail(errno);
    }
    if (ok() && opened_) {
      std::error_code ec;
      fs::rename(part_, path_, ec);
      if (ec) fail(ec.value());
    }
    if (!ok()) {
      // Only a file this object created is removed.
      if (created()) RemoveQuietly(part_);
      if (error) *error = failure_;
    }
    return ok();
  }
  bool fail(int error) {
    if (failure_.empty()) {
      failure_ = trText("Files", "cannot write %1: %2").arg(PathToUtf8(path_)).arg(SystemReason(error));
    }
    return false;
  }
  bool fail(const std::string& why) {
    if (failure_.empty()) failure_ = why;
    return false;
  }

 private:
  static fs::path partName(const fs::path& path) {
    fs::path part = path;
    part += ".tessel-part";
    return part;
  }
  bool created() const { return opened_; }

  fs::path path_;
  fs::path part_;
  const WriteFaults* faults_;
  std::FILE* out_ = nullptr;
  bool opened_ = false;
  std::string failure_;
  std::uint64_t written_ = 0;
};

}  // namespace

bool WriteParts(const fs::path& path, std::initializer_list<ByteView> parts, std::string* error,
                const WriteFaults* faults, std::uint64_t* size) {
  OutputFile out(path, faults);
  for (ByteView part : parts) {
    if (!out.write(part)) break;
  }
  if (size) *size = out.written();
  return out.finish(error);
}

CopyResult CopyInto(const fs::path& from, const fs::path& to, std::string* error,
                    const WriteFaults* faults, std::uint64_t* size,
                    const std::atomic<bool>* stop) {
  if (error) error->clear();
  std::error_code ec;
  if (from.empty() || !fs::is_regular_file(from, ec)) return CopyResult::NoSource;
  errno = 0;
  std::ifstream in(from, std::ios::binary);
  if (!in) {
    const int readError = errno;
    if (error) {
      *error = trText("Files", "cannot read %1: %2").arg(PathToUtf8(from)).arg(SystemReason(readError));
    }
    return CopyResult::ReadFailed;
  }
  // Streamed in blocks: sounds and tables of any size copy with the same
  // failure handling as every other output.
  OutputFile out(to, faults);
  std::vector<char> block(std::size_t(1) << 20);
  bool readFailed = false;
  while (out.ok()) {
    if (stop && stop->load()) {
      out.fail(trText("Files", "stopped before %1 was complete").arg(PathToUtf8(to)).str());
      break;
    }
    errno = 0;
    in.read(block.data(), static_cast<std::streamsize>(block.size()));
    const int readError = errno;
    const std::streamsize got = in.gcount();
    if (got > 0) {
      out.write(ByteView(reinterpret_cast<const std::uint8_t*>(block.data()),
                         static_cast<std::size_t>(got)));
    }
    if (in.eof()) break;
    if (!in) {
      readFailed = true;
      out.fail(trText("Files", "cannot read %1: %2")
                   .arg(PathToUtf8(from))
                   .arg(SystemReason(readError))
                   .str());
    }
  }
  if (size) *size = out.written();
  if (out.finish(error)) return CopyResult::Done;
  return readFailed ? CopyResult::ReadFailed : CopyResult::WriteFailed;
}

bool WriteFile(const fs::path& path, std::initializer_list<ByteView> parts, std::string* error,
               const WriteFaults* faults) {
  return WriteParts(path, parts, error, faults, nullptr);
}

std::optional<ByteView> ReadFileInto(const fs::path& path, Bytes& buffer, std::uint64_t limit,
                                     bool truncate, std::string* error) {
  std::error_code ec;
  if (!fs::is_regular_file(path, ec)) {
    if (error && ec) *error = ec.message();
    return std::nullopt;
  }
  errno = 0;
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    // The stream keeps no reason; the failed open leaves it in errno.
    if (error && errno != 0) *error = std::generic_category().message(errno);
    return std::nullopt;
  }
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

std::optional<Bytes> ReadFile(const fs::path& path, std::uint64_t limit, bool truncate,
                              std::string* error) {
  Bytes data;
  const std::optional<ByteView> view = ReadFileInto(path, data, limit, truncate, error);
  if (!view) return std::nullopt;
  data.resize(view->size());
  return data;
}

bool CopyFileTo(const fs::path& from, const fs::path& to, std::string* error,
              const WriteFaults* faults) {
  return CopyInto(from, to, error, faults, nullptr) == CopyResult::Done;
}

}  // namespace tessel
