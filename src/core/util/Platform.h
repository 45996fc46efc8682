#pragma once
// The few things the operating system has to be asked directly: whether a
// process lives, a file read without blocking or following a link, data
// flushed to its device, the terminal, and the signals that stop a run. Everything here has a POSIX and a Windows side;
// nothing else in the core calls the system by hand.
#include <atomic>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>

namespace tessel {

// This process's id and the machine's name.
std::int64_t CurrentProcessId();
std::string MachineName();

// Whether process `pid` of this machine runs: yes, no, or unknown (the
// system does not say).
enum class ProcessState { Running, Gone, Unknown };
ProcessState ProcessStateOf(std::int64_t pid);

// The file name of the program process `pid` runs, where the system tells
// (empty otherwise): a lock whose process id was reused by another program
// is not held.
std::string ProcessProgramName(std::int64_t pid);

// What stands at a path, seen without following a link.
enum class EntryKind { Missing, RegularFile, Folder, Link, Other };
EntryKind EntryKindOf(const std::filesystem::path& path);

// Reads at most `limit` bytes of a regular file, never through a link and
// never waiting (a FIFO swapped in at the last moment is not read). Nothing
// when it cannot be read; `error` then holds the system's reason.
std::optional<std::string> ReadSmallFile(const std::filesystem::path& path, std::size_t limit,
                                         std::string* error = nullptr);

// Creates `path` as a new file holding `text`; fails when anything is there
// (a link included). `error` holds the system's reason, `exists` tells
// whether something was in the way.
bool CreateNewFile(const std::filesystem::path& path, const std::string& text,
                   std::string* error = nullptr, bool* exists = nullptr);

// The first entry below `folder` (links not followed) that lies on another
// file system than the folder itself: a mount point that no removal of the
// folder can take away. Empty when there is none.
std::filesystem::path FirstMountPointInside(const std::filesystem::path& folder);

// Flushes a written file to its device and lets the system forget its cached
// pages, so that a later read comes from the device. False with the system's
// reason when the file cannot be opened or flushed.
bool SyncFile(const std::filesystem::path& path, std::string* reason = nullptr);

// Flushes a folder's entries (the names of new and renamed files) to its
// device. Where the system offers no such call it does nothing and succeeds.
bool SyncFolder(const std::filesystem::path& folder, std::string* reason = nullptr);

// The width in columns of the terminal standard output writes to: $COLUMNS
// when it holds a number, else the terminal's own; 0 when standard output is
// no terminal (a pipe, a file).
int TerminalColumns();

// Whether `stream` is a terminal.
bool IsTerminal(std::FILE* stream);

// Gives the memory freed so far back to the system where the C library
// keeps it for later (glibc's heap): what a run's pictures took does not
// stay with the process for its last steps. Nothing elsewhere.
void ReturnFreedMemory();

// While an object lives, SIGINT, SIGTERM and SIGHUP (Ctrl-C and Ctrl-Break
// on Windows) set `stop` and remember the signal instead of ending the
// process; a second one ends it at once with 128 + the signal. Blocking
// reads (a question on the terminal) are interrupted. One at a time.
class StopSignals {
 public:
  explicit StopSignals(std::atomic<bool>& stop);
  ~StopSignals();
  StopSignals(const StopSignals&) = delete;
  StopSignals& operator=(const StopSignals&) = delete;
  // The signal that arrived (0 for none), and the exit status it calls for.
  int signal() const;
  static int exitStatus(int signal) { return 128 + signal; }
  // The signal's name as people know it: "SIGINT".
  static std::string name(int signal);
};

}  // namespace tessel
