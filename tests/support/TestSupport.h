#pragma once
// Shared fixture builders for the tests: temporary folders, pictures made in
// code, a host that records what a run says.
#include <QImage>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "convert/Host.h"
#include "icon/IconLibrary.h"
#include "support/Builders.h"
#include "util/Bytes.h"
#include "util/FileIO.h"

namespace tessel::test {

namespace fs = std::filesystem;

// A fresh folder under the system's temporary folder, removed with its
// contents when the object dies.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const fs::path& path() const { return path_; }
  fs::path operator/(const std::string& name) const;

 private:
  fs::path path_;
};

// Writes bytes or text to a file, creating its folder.
void writeBytes(const fs::path& path, ByteView data);
void writeText(const fs::path& path, const std::string& text);
Bytes readBytes(const fs::path& path);
std::string readText(const fs::path& path);

// A picture with a recognisable pattern (gradients and a few shapes), so that
// rotations and shifted rows are visible in the output.
QImage patternImage(int width, int height);
// Small JPEGs made by Qt's encoder: the pattern above, or one colour.
Bytes patternJpeg(int width, int height);
Bytes solidJpeg(int width, int height, QColor color);
// Saves patternImage-like content to path in the format its extension names.
void writePicture(const fs::path& path, int width, int height);

// Sorted list of the files below `root`, as relative generic paths
// (folders end in '/').
std::vector<std::string> listTree(const fs::path& root);

// Every entry below `root` and what it holds: a file's bytes, "/" for a
// folder, "-> target" for a link. Two equal snapshots: not a byte changed.
std::map<std::string, std::string> treeSnapshot(const fs::path& root);

// zlib inflate of a whole stream; empty on error.
Bytes inflate(ByteView stream, std::size_t expectedSize);

// Writes fail as on a full disk: those to files whose name is `name` (any
// file when empty), from the `after`-th such write on (counting from 0).
class FailingWrites : public WriteFaults {
 public:
  explicit FailingWrites(std::string name = {}, int after = 0)
      : name_(std::move(name)), after_(after) {}
  bool fails(const fs::path& path) const override;

 private:
  std::string name_;
  int after_;
  mutable int seen_ = 0;
};

// Every entry of an icon library, as ReadIconLibrary hands them out.
struct IconEntries {
  IconScanResult scan;
  std::vector<IconEntry> entries;
};
IconEntries readIconEntries(ByteView data, IconLayout layout);

// Qt's way to RGB565: the image converted to RGB16, Qt's rows (32-bit
// aligned) with their padding zeroed.
Bytes qtRgb565Rows(const QImage& image);

// What tessel-cli did: its exit status and what it printed.
struct CliRun {
  int status = -1;
  std::string out, err;
};
// Runs tessel-cli in this process, with `input` as its standard input (not a
// terminal).
CliRun runCli(const std::vector<std::string>& args, const std::string& input = {});
// Runs the tessel-cli program in a process of its own, in the environment
// given: the system's, with the variables named added (or removed, when the
// value is empty).
CliRun runCliProcess(const std::vector<std::string>& args,
                     const std::vector<std::pair<std::string, std::string>>& environment = {});

// A shell script run by /bin/sh, with "$T" naming tessel-cli: arguments keep
// bytes that are not UTF-8 and limits can be set. Its output is not kept.
CliRun runShell(const std::string& script);
// A path quoted for the shell.
std::string shellQuoted(const fs::path& path);

// The text of an output lock held by `pid` on `host`, taken `secondsAgo`.
std::string lockOf(const std::string& host, std::int64_t pid, std::int64_t secondsAgo);

// A host that records every call and answers confirmSetup as told.
class RecordingHost : public Host {
 public:
  std::vector<std::string> messages;
  std::vector<std::string> warnings;
  std::vector<fs::path> opened;
  int confirmCalls = 0;
  bool confirmAnswer = true;
  SetupValues seenSetup;     // the values as they reached confirmSetup
  SetupValues* changeTo = nullptr;  // when set, confirmSetup writes these

  void showMessage(const std::string& text) override { messages.push_back(text); }
  bool confirmSetup(SetupValues& values) override {
    ++confirmCalls;
    seenSetup = values;
    if (changeTo) values = *changeTo;
    return confirmAnswer;
  }
  // Asked before a private/ holding foreign entries is removed.
  bool removalAnswer = false;
  std::vector<fs::path> foreignSeen;
  bool confirmRemoval(const fs::path&, const fs::path& firstForeign) override {
    foreignSeen.push_back(firstForeign);
    return removalAnswer;
  }
  void openFolder(const fs::path& folder) override { opened.push_back(folder); }
  void warning(const std::string& text) override { warnings.push_back(text); }
};

}  // namespace tessel::test
