#include "util/Platform.h"

#include <QString>
#include <QSysInfo>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <system_error>

#ifdef _WIN32
#include <io.h>
#include <windows.h>
#include <cstdio>
#include <fstream>
#else
#if defined(__GLIBC__)
#include <malloc.h>
#endif
#include <fcntl.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace tessel {

namespace fs = std::filesystem;

namespace {
std::string ReasonOf(int error) { return std::generic_category().message(error ? error : EIO); }
}  // namespace

std::string MachineName() {
  const QString name = QSysInfo::machineHostName();
  return name.isEmpty() ? std::string("localhost") : name.toStdString();
}

EntryKind EntryKindOf(const fs::path& path) {
  std::error_code ec;
  const fs::file_status status = fs::symlink_status(path, ec);
  if (ec || !fs::exists(status)) return EntryKind::Missing;
  if (fs::is_symlink(status)) return EntryKind::Link;
  if (fs::is_directory(status)) return EntryKind::Folder;
  if (fs::is_regular_file(status)) return EntryKind::RegularFile;
  return EntryKind::Other;
}

#ifdef _WIN32

std::int64_t CurrentProcessId() { return static_cast<std::int64_t>(GetCurrentProcessId()); }

ProcessState ProcessStateOf(std::int64_t pid) {
  HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, static_cast<DWORD>(pid));
  if (!process) {
    return GetLastError() == ERROR_INVALID_PARAMETER ? ProcessState::Gone : ProcessState::Unknown;
  }
  DWORD code = 0;
  const bool known = GetExitCodeProcess(process, &code);
  CloseHandle(process);
  if (!known) return ProcessState::Unknown;
  return code == STILL_ACTIVE ? ProcessState::Running : ProcessState::Gone;
}

std::string ProcessProgramName(std::int64_t) { return {}; }

fs::path FirstMountPointInside(const fs::path&) { return {}; }

std::optional<std::string> ReadSmallFile(const fs::path& path, std::size_t limit,
                                         std::string* error) {
  if (EntryKindOf(path) != EntryKind::RegularFile) {
    if (error) *error = ReasonOf(EINVAL);
    return std::nullopt;
  }
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    if (error) *error = ReasonOf(errno);
    return std::nullopt;
  }
  std::string text(limit, '\0');
  in.read(text.data(), static_cast<std::streamsize>(limit));
  text.resize(static_cast<std::size_t>(in.gcount()));
  return text;
}

bool CreateNewFile(const fs::path& path, const std::string& text, std::string* error,
                   bool* exists) {
  if (exists) *exists = false;
  std::FILE* file = _wfopen(path.c_str(), L"wbx");
  if (!file) {
    if (exists) *exists = errno == EEXIST;
    if (error) *error = ReasonOf(errno);
    return false;
  }
  const bool ok = std::fwrite(text.data(), 1, text.size(), file) == text.size();
  if (std::fclose(file) != 0 || !ok) {
    if (error) *error = ReasonOf(errno);
    std::error_code ec;
    fs::remove(path, ec);
    return false;
  }
  return true;
}

namespace {
std::atomic<bool>* gStop = nullptr;
std::atomic<int> gSignal{0};

BOOL WINAPI OnConsoleEvent(DWORD event) {
  const int signal = event == CTRL_C_EVENT ? SIGINT : SIGTERM;
  if (gStop && !gStop->load()) {
    gSignal = signal;
    gStop->store(true);
    return TRUE;
  }
  ExitProcess(static_cast<UINT>(128 + signal));
}
}  // namespace

StopSignals::StopSignals(std::atomic<bool>& stop) {
  gStop = &stop;
  gSignal = 0;
  SetConsoleCtrlHandler(onConsoleEvent, TRUE);
}

StopSignals::~StopSignals() {
  SetConsoleCtrlHandler(onConsoleEvent, FALSE);
  gStop = nullptr;
}

#else

std::int64_t CurrentProcessId() { return static_cast<std::int64_t>(::getpid()); }

ProcessState ProcessStateOf(std::int64_t pid) {
  if (pid <= 0 || pid != static_cast<pid_t>(pid)) return ProcessState::Gone;
  if (::kill(static_cast<pid_t>(pid), 0) == 0) return ProcessState::Running;
  if (errno == ESRCH) return ProcessState::Gone;
  return errno == EPERM ? ProcessState::Running : ProcessState::Unknown;
}

std::string ProcessProgramName(std::int64_t pid) {
#ifdef __linux__
  std::error_code ec;
  const fs::path exe = fs::read_symlink("/proc/" + std::to_string(pid) + "/exe", ec);
  if (ec) return {};
  std::string name = exe.filename().string();
  // A program replaced while it runs is named "tessel-cli (deleted)".
  if (const auto cut = name.find(" (deleted)"); cut != std::string::npos) name.resize(cut);
  return name;
#else
  (void)pid;
  return {};
#endif
}

fs::path FirstMountPointInside(const fs::path& folder) {
  struct stat top {};
  if (::lstat(folder.c_str(), &top) != 0 || !S_ISDIR(top.st_mode)) return {};
  std::error_code ec;
  for (auto it = fs::recursive_directory_iterator(folder, ec);
       !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
    struct stat st {};
    if (::lstat(it->path().c_str(), &st) != 0) continue;
    if (st.st_dev != top.st_dev) return it->path();
  }
  return {};
}

std::optional<std::string> ReadSmallFile(const fs::path& path, std::size_t limit,
                                         std::string* error) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    if (error) *error = ReasonOf(errno);
    return std::nullopt;
  }
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    if (error) *error = ReasonOf(EINVAL);
    ::close(fd);
    return std::nullopt;
  }
  std::string text(limit, '\0');
  std::size_t got = 0;
  while (got < limit) {
    const ssize_t n = ::read(fd, text.data() + got, limit - got);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      if (error) *error = ReasonOf(errno);
      ::close(fd);
      return std::nullopt;
    }
    if (n == 0) break;
    got += static_cast<std::size_t>(n);
  }
  ::close(fd);
  text.resize(got);
  return text;
}

bool CreateNewFile(const fs::path& path, const std::string& text, std::string* error,
                   bool* exists) {
  if (exists) *exists = false;
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
  if (fd < 0) {
    if (exists) *exists = errno == EEXIST;
    if (error) *error = ReasonOf(errno);
    return false;
  }
  std::size_t put = 0;
  int failure = 0;
  while (put < text.size()) {
    const ssize_t n = ::write(fd, text.data() + put, text.size() - put);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      failure = n < 0 ? errno : ENOSPC;
      break;
    }
    put += static_cast<std::size_t>(n);
  }
  if (::close(fd) != 0 && failure == 0) failure = errno;
  if (failure != 0) {
    if (error) *error = ReasonOf(failure);
    ::unlink(path.c_str());
    return false;
  }
  return true;
}

namespace {
std::atomic<bool>* gStop = nullptr;
volatile std::sig_atomic_t gSignal = 0;
constexpr int kStopSignals[] = {SIGINT, SIGTERM, SIGHUP};
struct sigaction gPrevious[3];

extern "C" void onStopSignal(int signal) {
  if (gSignal != 0 || !gStop) {
    // The second one: end now. The previous output is still in place; what
    // the run left (its staging folder, its lock) the next run removes.
    ::_exit(128 + signal);
  }
  gSignal = signal;
  gStop->store(true);
}
}  // namespace

StopSignals::StopSignals(std::atomic<bool>& stop) {
  gStop = &stop;
  gSignal = 0;
  struct sigaction action {};
  action.sa_handler = onStopSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = 0;  // no SA_RESTART: a read waiting for an answer returns
  for (int i = 0; i < 3; ++i) ::sigaction(kStopSignals[i], &action, &gPrevious[i]);
}

StopSignals::~StopSignals() {
  for (int i = 0; i < 3; ++i) ::sigaction(kStopSignals[i], &gPrevious[i], nullptr);
  gStop = nullptr;
}

#endif

int StopSignals::signal() const { return gSignal; }

std::string StopSignals::name(int signal) {
  switch (signal) {
    case SIGINT: return "SIGINT";
    case SIGTERM: return "SIGTERM";
#ifdef SIGHUP
    case SIGHUP: return "SIGHUP";
#endif
    default: return "signal " + std::to_string(signal);
  }
}

namespace {

[[maybe_unused]] bool syncFailed(int error, std::string* reason) {
  if (reason) *reason = std::generic_category().message(error);
  return false;
}

#ifndef _WIN32
// 0, or the errno of the failed call.
int SyncDescriptor(const std::filesystem::path& path, int flags, bool forget) {
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

bool SyncFile(const std::filesystem::path& path, std::string* reason) {
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
  const int error = SyncDescriptor(path, O_RDONLY, true);
  return error == 0 || syncFailed(error, reason);
#endif
}

bool SyncFolder(const std::filesystem::path& folder, std::string* reason) {
#ifdef _WIN32
  (void)folder;
  (void)reason;
  return true;  // the entries go with the files' own flushes
#else
  const int error = SyncDescriptor(folder, O_RDONLY | O_DIRECTORY, false);
  // Some file systems cannot flush a folder on its own; their entries go
  // with the files.
  return error == 0 || error == EINVAL || error == ENOTSUP || syncFailed(error, reason);
#endif
}



int TerminalColumns() {
  if (const char* columns = std::getenv("COLUMNS")) {
    const int n = std::atoi(columns);
    if (n > 0) return n;
  }
#ifdef _WIN32
  CONSOLE_SCREEN_BUFFER_INFO info;
  if (_isatty(_fileno(stdout)) &&
      GetConsoleScreenBufferInfo(GetStdHandle(STD_OUTPUT_HANDLE), &info)) {
    return info.srWindow.Right - info.srWindow.Left + 1;
  }
#else
  winsize size{};
  if (isatty(STDOUT_FILENO) && ioctl(STDOUT_FILENO, TIOCGWINSZ, &size) == 0 && size.ws_col > 0) {
    return size.ws_col;
  }
#endif
  return 0;
}


bool IsTerminal(std::FILE* stream) {
#ifdef _WIN32
  return _isatty(_fileno(stream)) != 0;
#else
  return ::isatty(::fileno(stream)) != 0;
#endif
}

void ReturnFreedMemory() {
#if defined(__GLIBC__) && !defined(_WIN32)
  malloc_trim(0);
#endif
}

}  // namespace tessel
