#include "util/FileSync.h"

#include <cerrno>
#include <system_error>

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <unistd.h>
#endif

namespace tessel {

namespace {

[[maybe_unused]] bool failed(int error, std::string* reason) {
  if (reason) *reason = std::generic_category().message(error);
  return false;
}

#ifndef _WIN32
// 0, or the errno of the failed call.
int syncDescriptor(const std::filesystem::path& path, int flags, bool forget) {
  const int fd = ::open(path.c_str(), flags | O_CLOEXEC);
  if (fd < 0) return errno;
  int error = 0;
  if (::fsync(fd) != 0) error = errno;
#ifdef POSIX_FADV_DONTNEED
  if (error == 0 && forget) ::posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED);
#else
  (void)forget;
#endif
  if (::close(fd) != 0 && error == 0) error = errno;
  return error;
}
#endif

}  // namespace

bool syncFile(const std::filesystem::path& path, std::string* reason) {
#ifdef _WIN32
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                            nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    if (reason) *reason = std::system_category().message(static_cast<int>(GetLastError()));
    return false;
  }
  const bool flushed = FlushFileBuffers(file) != 0;
  const DWORD error = GetLastError();
  CloseHandle(file);
  if (!flushed && reason) *reason = std::system_category().message(static_cast<int>(error));
  return flushed;
#else
  const int error = syncDescriptor(path, O_RDONLY, true);
  return error == 0 || failed(error, reason);
#endif
}

bool syncFolder(const std::filesystem::path& folder, std::string* reason) {
#ifdef _WIN32
  (void)folder;
  (void)reason;
  return true;  // the entries go with the files' own flushes
#else
  const int error = syncDescriptor(folder, O_RDONLY | O_DIRECTORY, false);
  // Some file systems cannot flush a folder on its own; their entries go
  // with the files.
  return error == 0 || error == EINVAL || error == ENOTSUP || failed(error, reason);
#endif
}

}  // namespace tessel
