#pragma once
// Reuse of a previous run's outputs. A run records, per output, what it was
// made from (the source's size and content hash, every setting that changes
// its bytes, the program's version) and the output's own size and hash. A
// later run into the same output root takes an output from the previous
// private/ instead of making it again only when all of that matches exactly
// and the file there still has its recorded size and hash; anything in doubt
// is made again.
#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <string>

#include "model/OutputLayout.h"
#include "model/RunRecord.h"
#include "model/Settings.h"
#include "picture/PicturePipeline.h"
#include "util/Bytes.h"

namespace tessel {

// What one output was made from, for the run record.
struct MadeFacts {
  std::uint64_t sourceSize = 0;
  std::string sourceHash;  // empty: the source could not be read whole
  std::string settings;
  std::string hash;        // the output's
  int width = 0, height = 0;
};
// By the output's path relative to private/, with '/' separators.
using MadeFactsMap = std::map<std::string, MadeFacts>;

// The previous run's outputs, as its record describes them.
class PreviousOutputs {
 public:
  PreviousOutputs() = default;  // reuses nothing
  // The record beside private/ in `layout`'s root and the private/ it
  // describes. Nothing is reused from a record that is missing, unreadable,
  // of another version or written by another version of the program.
  explicit PreviousOutputs(const OutputLayout& layout);
  // The index points into the record's map, whose nodes a move keeps.
  PreviousOutputs(PreviousOutputs&&) = default;
  PreviousOutputs& operator=(PreviousOutputs&&) = default;
  PreviousOutputs(const PreviousOutputs&) = delete;
  PreviousOutputs& operator=(const PreviousOutputs&) = delete;

  struct Found {
    std::string relative;  // below private/
    Bytes bytes;
    int width = 0, height = 0;
    std::string hash;
  };
  // The output in `folder` (relative to private/) made from the source file
  // `sourceName` alone, with these source facts and settings, when its file
  // still has its recorded size and hash. Safe from any thread.
  std::optional<Found> find(const std::string& folder, const std::string& sourceName,
                            const MadeFacts& facts) const;

 private:
  std::filesystem::path private_;
  RunRecord record_;
  std::multimap<std::string, const std::pair<const std::string, RecordOutput>*> bySource_;
};

// The settings that make a picture's bytes, as the record keeps them.
std::string PictureSettings(const PictureEncoding& encoding, int rotation, PictureTarget target);

// A picture made or reused, with the facts the record keeps of it.
struct PictureWork {
  EncodedPicture encoded;
  bool reused = false;
  MadeFacts facts;
};

// Hashes the picture file and takes its output from `previous` when it may;
// otherwise encodes it (EncodePictureFile). Runs on a worker.
PictureWork MakeOrReusePicture(const PreviousOutputs& previous,
                               const std::filesystem::path& picture,
                               const PictureEncoding& encoding, int rotation,
                               PictureTarget target, const WorkLimits& work);

// The path of `file` relative to `privateFolder`, with '/' separators.
std::string RecordKey(const std::filesystem::path& file,
                      const std::filesystem::path& privateFolder);

}  // namespace tessel
