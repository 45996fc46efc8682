#pragma once
// What a run did, for the front ends to report: every input and what became
// of it, every output file with its size, every warning, the writes that
// failed. Nothing prints from the core: a listener hears each warning as it
// is recorded.
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <unordered_map>
#include <vector>

namespace tessel {

// What kind of file a source entry is.
enum class InputKind { Picture, IconLibrary, Sound, Table, ConfigText, BlockConfig, Other };

// What became of a source entry.
enum class InputFate {
  Unhandled,  // the run ended before it came to this input
  Converted,  // into the outputs listed
  Copied,     // byte for byte, into the outputs listed
  Read,       // configuration read; nothing written from it
  Replaced,   // a later input of the same number (or role) took its place
  StoodIn,    // a picture file left out: the picture library stands in for the pictures
  Ignored,    // a kind of input this branch does not use (sounds in Branch B, say)
  NotUsed,    // a kind of file the display never uses (.hzk fonts, firmware, Thumbs.db)
  Skipped,    // could not be used: the reason says why
};

struct InputRecord {
  std::filesystem::path path;
  InputKind kind = InputKind::Other;
  InputFate fate = InputFate::Unhandled;
  std::string reason;  // for Replaced, StoodIn, Ignored, NotUsed, Skipped
  std::vector<std::filesystem::path> outputs;
};

struct OutputRecord {
  std::filesystem::path path;
  std::uint64_t size = 0;
  std::filesystem::path input;  // the source input it was last made from, if any
  int icons = 0;                // a .zico: the icons stored in it
  bool reused = false;          // taken from the previous run's output
};

struct Report {
  int picturesWritten = 0;   // picture outputs (.zbmp/.jpg files or pack entries)
  int iconsWritten = 0;      // icons stored in .zico files
  int filesWritten = 0;      // every successful write, copies included
  std::vector<std::string> warnings;                 // one line per problem
  std::vector<std::string> notes;  // what the run found and put right; nothing to act on
  std::vector<std::filesystem::path> warningInputs;  // the input of each warning (may be empty)
  std::vector<std::filesystem::path> writeFailures;  // outputs that could not be written
  std::vector<InputRecord> inputs;                   // every source entry, in listing order
  std::vector<OutputRecord> outputs;                 // every file written, once each
  bool fontMissing = false;  // the target got no font.ttf
  int packEntries = 0;       // pictures stored in the picture pack
  int pictureLibraryIcons = 0;  // icons found in the picture library

  // Called with every warning as it is recorded (on the thread that records
  // it: the run records only on its own thread).
  std::function<void(const std::string&)> onWarning;

  void warn(std::string text, const std::filesystem::path& input = {}) {
    warnings.push_back(std::move(text));
    warningInputs.push_back(input);
    if (onWarning) onWarning(warnings.back());
  }

  // The record of an input (added when it is not there yet).
  InputRecord& input(const std::filesystem::path& path, InputKind kind = InputKind::Other);
  // Records the fate of a source input (files that are not, the fonts, are
  // left out); an empty reason keeps the one recorded before.
  void setFate(const std::filesystem::path& path, InputFate fate, std::string reason = {});
  // An input that could not be used: its fate and a warning naming it.
  void skipped(const std::filesystem::path& path, const std::string& reason);
  // An output made from a source input: the input is converted (or copied).
  // Files that are not source inputs (the fonts) are not recorded.
  // A later input that makes the same output replaces the earlier one, except
  // in an output `shared` by many inputs (the picture pack).
  void madeFrom(const std::filesystem::path& input, const std::filesystem::path& output,
                InputFate fate = InputFate::Converted, bool shared = false);
  // A file written (again): its size is the latest.
  void wrote(const std::filesystem::path& path, std::uint64_t size);
  // The record of a file written, or nullptr.
  OutputRecord* output(const std::filesystem::path& path);
  // The outputs written as (or below) `from` now lie at (or below) `to`.
  void outputsMoved(const std::filesystem::path& from, const std::filesystem::path& to);
  // None of the outputs is on disk (the run ended before they were put in
  // place): they are forgotten, and the inputs converted or copied into them
  // are unhandled again, for `reason`.
  void outputsDiscarded(const std::string& reason);

 private:
  // Where each path's record lies in `inputs` and `outputs`, so that every
  // lookup takes the same time however many inputs a run has. Checked on
  // use and made again when the lists were reordered or added to directly.
  struct PathHash {
    std::size_t operator()(const std::filesystem::path& p) const {
      return std::filesystem::hash_value(p);
    }
  };
  using PathIndex = std::unordered_map<std::filesystem::path, std::size_t, PathHash>;
  PathIndex inputIndex_, outputIndex_;
  InputRecord* findInput(const std::filesystem::path& path);
};

}  // namespace tessel
