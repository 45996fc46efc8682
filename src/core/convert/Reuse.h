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
#include <functional>
#include <map>
#include <optional>
#include <string>

#include "icon/IconConvert.h"
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
  // The record's entry of picture `number` of the picture pack when it was
  // made from the source file `sourceName` alone, with these source facts
  // and settings, and no other file of that number.
  const RecordOutput* packEntry(int number, const std::string& sourceName,
                                const MadeFacts& facts) const;
  // How many pictures the previous picture pack holds, by its record.
  int packEntries() const { return packEntries_; }
  // The bytes of output `relative` (below private/) when the record gives
  // its hash and the file still has its recorded size and hash, with that
  // hash. Safe from any thread.
  std::optional<Found> verified(const std::string& relative) const;

 private:
  std::optional<Bytes> matching(const std::string& relative, const RecordOutput& output) const;

  std::filesystem::path private_;
  RunRecord record_;
  std::multimap<std::string, const std::pair<const std::string, RecordOutput>*> bySource_;
  int packEntries_ = 0;
};

// The settings that make a picture's bytes, as the record keeps them.
std::string PictureSettings(const PictureEncoding& encoding, int rotation, PictureTarget target);

// The facts of a picture's source: the file's size and the hash of the
// bytes the encoder reads (EncodePictureFile: not the rest of an oversized
// BMP). The hash stays empty when the file cannot be read.
void HashPictureSource(const std::filesystem::path& picture, MadeFacts& facts);

// A block of the picture pack, encoded on a worker, with its facts (its
// source hashed unless `facts` come with the hash already).
struct PackBlockWork {
  EncodedPicture block;
  MadeFacts facts;
};
PackBlockWork MakePackBlock(const std::filesystem::path& picture, const PictureEncoding& encoding,
                            int rotation, MadeFacts facts, const WorkLimits& limits);

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

// The settings that make a .zico's bytes: the library's layout and the
// compression of its blocks. The icons of a .zico are never turned or
// dithered, so neither the icon rotation nor the picture encoding is among
// them; a picture library whose icons become screens has no .zico.
std::string ZicoSettings(IconLayout layout, Compression compression);

// The reuse of .zico files for ConvertIconLibraries: each library is hashed
// as read and its .zico as built, on the workers; a library whose record
// matches takes its .zico from `previous`. What the run record needs goes
// into `made`, and `marked` hears of every .zico written and whether it was
// reused.
class ZicoReuse : public IconLibraryReuse {
 public:
  ZicoReuse(const PreviousOutputs& previous, const std::vector<IconLibraryJob>& jobs,
            Compression compression, std::filesystem::path privateFolder, MadeFactsMap& made,
            std::function<void(const std::filesystem::path&, bool)> marked);
  bool take(std::size_t job, ByteView data, std::uint64_t fileSize,
            BuiltIconLibrary& built) override;
  void built(std::size_t job, const BuiltIconLibrary& built) override;
  void written(std::size_t job, const std::filesystem::path& zico, bool reused) override;

 private:
  const PreviousOutputs& previous_;
  const std::vector<IconLibraryJob>& jobs_;
  const Compression compression_;
  const std::filesystem::path private_;
  MadeFactsMap& made_;
  std::function<void(const std::filesystem::path&, bool)> marked_;
  std::vector<MadeFacts> facts_;  // one per job, each written by one worker
};

// The path of `file` relative to `privateFolder`, with '/' separators.
std::string RecordKey(const std::filesystem::path& file,
                      const std::filesystem::path& privateFolder);

}  // namespace tessel
