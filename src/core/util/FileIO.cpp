#include "util/FileIO.h"

#include <cstdio>
#include <fstream>
#include <mutex>
#include <system_error>

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

bool writeFile(const fs::path& path, std::initializer_list<ByteView> parts, std::string* error) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  if (!out) {
    if (error) *error = "cannot create " + pathToUtf8(path);
    return false;
  }
  bool ok = true;
  for (ByteView part : parts) {
    if (part.empty()) continue;
    if (injectedFailure(path)) {
      ok = false;
      break;
    }
    out.write(reinterpret_cast<const char*>(part.data()), static_cast<std::streamsize>(part.size()));
    if (!out) {
      ok = false;
      break;
    }
  }
  if (ok) {
    out.flush();
    ok = static_cast<bool>(out);
  }
  out.close();
  if (ok && out.fail()) ok = false;
  if (!ok) {
    removeQuietly(path);
    if (error) *error = "cannot write " + pathToUtf8(path) + " (disk full or I/O error)";
  }
  return ok;
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
  if (from.empty()) return false;
  // Read whole, write through writeFile: the same failure handling as every
  // other output, and sources here are small (tables, sounds, fonts).
  auto data = readFile(from);
  if (!data) return false;
  return writeFile(to, ByteView(*data), error);
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
