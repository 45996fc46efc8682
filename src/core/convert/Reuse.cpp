#include "convert/Reuse.h"

#include <algorithm>

#include "model/OutputLayout.h"
#include "model/SourceInventory.h"
#include "picture/PictureIntegrity.h"
#include "icon/Zico.h"
#include "util/FileIO.h"
#include "util/Hash.h"
#include "util/Paths.h"

namespace tessel {

namespace fs = std::filesystem;

PreviousOutputs::PreviousOutputs(const OutputLayout& layout) : private_(layout.privateFolder()) {
  std::string error;
  std::optional<RunRecord> record = ReadRunRecord(layout.root(), error);
  if (!record || record->version != kRunRecordVersion || record->program != TESSEL_VERSION) return;
  record_ = std::move(*record);
  for (const auto& entry : record_.outputs) {
    const RecordOutput& output = entry.second;
    if (output.sources.size() != 1 || output.hash.empty() || output.sources[0].hash.empty() ||
        output.sources[0].icon >= 0) {
      continue;
    }
    bySource_.emplace(output.sources[0].file, &entry);
  }
  const std::string pack = PackEntryKey(0).substr(0, PackEntryKey(0).size() - 1);
  for (auto it = record_.outputs.lower_bound(pack);
       it != record_.outputs.end() && it->first.starts_with(pack); ++it) {
    ++packEntries_;
  }
}

std::optional<Bytes> PreviousOutputs::matching(const std::string& relative,
                                               const RecordOutput& output) const {
  // The file as it is now: damaged or replaced by hand, it is made again.
  const fs::path file = private_ / PathFromUtf8(relative);
  std::error_code ec;
  if (output.hash.empty() || fs::is_symlink(file, ec) || !fs::is_regular_file(file, ec)) {
    return std::nullopt;
  }
  std::optional<Bytes> bytes = ReadFile(file, output.size + 1);
  if (!bytes || bytes->size() != output.size || ContentHash(ByteView(*bytes)) != output.hash) {
    return std::nullopt;
  }
  return bytes;
}

std::optional<PreviousOutputs::Found> PreviousOutputs::verified(const std::string& relative) const {
  const RecordOutput* output = record_.find(relative);
  if (!output) return std::nullopt;
  std::optional<Bytes> bytes = matching(relative, *output);
  if (!bytes) return std::nullopt;
  return Found{relative, std::move(*bytes), output->width, output->height, output->hash};
}

const RecordOutput* PreviousOutputs::packEntry(int number, const std::string& sourceName,
                                               const MadeFacts& facts) const {
  const RecordOutput* entry = record_.find(PackEntryKey(number));
  if (!entry || facts.sourceHash.empty() || entry->sources.size() != 1 || entry->hash.empty() ||
      !entry->replaced.empty() || entry->width <= 0) {
    return nullptr;
  }
  const RecordSource& source = entry->sources[0];
  if (source.file != sourceName || source.icon >= 0 || source.size != facts.sourceSize ||
      source.hash != facts.sourceHash || entry->settings != facts.settings) {
    return nullptr;
  }
  return entry;
}

std::optional<PreviousOutputs::Found> PreviousOutputs::find(const std::string& folder,
                                                            const std::string& sourceName,
                                                            const MadeFacts& facts) const {
  if (facts.sourceHash.empty()) return std::nullopt;
  const auto [first, last] = bySource_.equal_range(sourceName);
  for (auto it = first; it != last; ++it) {
    const std::string& relative = it->second->first;
    const RecordOutput& output = it->second->second;
    const RecordSource& source = output.sources[0];
    if (!relative.starts_with(folder + "/") ||
        relative.find('/', folder.size() + 1) != std::string::npos ||
        source.size != facts.sourceSize || source.hash != facts.sourceHash ||
        output.settings != facts.settings) {
      continue;
    }
    std::optional<Bytes> bytes = matching(relative, output);
    if (!bytes) return std::nullopt;
    return Found{relative, std::move(*bytes), output.width, output.height, output.hash};
  }
  return std::nullopt;
}

std::string PictureSettings(const PictureEncoding& encoding, int rotation, PictureTarget target) {
  return "picture target=" + std::to_string(static_cast<int>(target)) +
         " format=" + std::to_string(static_cast<int>(encoding.format)) +
         " deripple=" + std::to_string(encoding.deRipple ? 1 : 0) +
         " compression=" + std::to_string(static_cast<int>(encoding.compression)) +
         " rotation=" + std::to_string(rotation);
}

void HashPictureSource(const fs::path& picture, MadeFacts& facts) {
  // The bytes the encoder reads (EncodePictureFile: not the rest of an
  // oversized BMP), and the file's size: what makes the output.
  std::error_code ec;
  const std::uintmax_t size = fs::file_size(picture, ec);
  const std::optional<Bytes> head = ec ? std::nullopt : ReadFile(picture, 54, true);
  if (head) {
    const std::uint64_t used =
        std::min<std::uint64_t>(PictureReadLength(ByteView(*head), size), std::uint64_t(1) << 31);
    if (std::optional<FileHash> source = ContentHashOfFile(picture, used)) {
      facts.sourceSize = size;
      facts.sourceHash = std::move(source->hash);
    }
  }
}

namespace {

// The facts of a picture's source from the bytes the encoder read: one read
// of the file serves the hash and the picture.
void NoteSource(ByteView data, std::uint64_t fileSize, MadeFacts& facts) {
  facts.sourceSize = fileSize;
  facts.sourceHash = ContentHash(data);
}

// An output's own facts once it is made; none when the readers warned, so
// that it is made again each time and its warnings come again.
void NoteOutput(const EncodedPicture& made, MadeFacts& facts) {
  if (made.ok && !facts.sourceHash.empty() && made.messages.empty()) {
    facts.hash = ContentHash(ByteView(made.bytes));
    facts.width = made.width;
    facts.height = made.height;
  } else {
    facts.hash.clear();
  }
}

}  // namespace

PackBlockWork MakePackBlock(const fs::path& picture, const PictureEncoding& encoding, int rotation,
                            MadeFacts facts, const WorkLimits& limits) {
  PackBlockWork work;
  work.facts = std::move(facts);
  work.block = EncodePictureFile(picture, encoding, rotation, PictureTarget::PackBlock, limits,
                                 [&](ByteView data, std::uint64_t size) {
                                   if (work.facts.sourceHash.empty()) {
                                     NoteSource(data, size, work.facts);
                                   }
                                   return false;
                                 });
  NoteOutput(work.block, work.facts);
  return work;
}

PictureWork MakeOrReusePicture(const PreviousOutputs& previous, const fs::path& picture,
                               const PictureEncoding& encoding, int rotation,
                               PictureTarget target, const WorkLimits& limits) {
  PictureWork work;
  work.facts.settings = PictureSettings(encoding, rotation, target);
  // Only the name this picture's output has: image/N.zbmp or image/N.jpg.
  const std::string name =
      std::string(OutputLayout::kImage) + "/" +
      OutputLayout::numberedName(FileNumber(picture), encoding.format == PictureFormat::Zbmp
                                                          ? OutputLayout::kZbmp
                                                          : OutputLayout::kJpg);
  std::optional<PreviousOutputs::Found> found;
  EncodedPicture encoded = EncodePictureFile(
      picture, encoding, rotation, target, limits, [&](ByteView data, std::uint64_t size) {
        NoteSource(data, size, work.facts);
        if (target != PictureTarget::File) return false;
        found = previous.find(OutputLayout::kImage, PathToUtf8(picture.filename()), work.facts);
        if (found && (found->relative != name || found->width <= 0)) found.reset();
        return found.has_value();
      });
  if (found) {
    work.reused = true;
    work.encoded.ok = true;
    work.encoded.extension = PathToUtf8(PathFromUtf8(found->relative).extension());
    work.encoded.width = found->width;
    work.encoded.height = found->height;
    work.encoded.bytes = std::move(found->bytes);
    work.facts.hash = std::move(found->hash);
    work.facts.width = found->width;
    work.facts.height = found->height;
    return work;
  }
  work.encoded = std::move(encoded);
  NoteOutput(work.encoded, work.facts);
  return work;
}

std::string ZicoSettings(IconLayout layout, Compression compression) {
  return "zico layout=" + std::to_string(static_cast<int>(layout)) +
         " compression=" + std::to_string(static_cast<int>(compression));
}

ZicoReuse::ZicoReuse(const PreviousOutputs& previous, const std::vector<IconLibraryJob>& jobs,
                     Compression compression, fs::path privateFolder, MadeFactsMap& made,
                     std::function<void(const fs::path&, bool)> marked)
    : previous_(previous), jobs_(jobs), compression_(compression),
      private_(std::move(privateFolder)), made_(made), marked_(std::move(marked)),
      facts_(jobs.size()) {}

bool ZicoReuse::take(std::size_t job, ByteView data, std::uint64_t fileSize,
                     BuiltIconLibrary& built) {
  const IconLibraryJob& library = jobs_[job];
  if (library.toPictures) return false;
  MadeFacts& facts = facts_[job];
  // The bytes the library is built from, and its file's size.
  facts.sourceSize = fileSize;
  facts.sourceHash = ContentHash(data);
  facts.settings = ZicoSettings(library.layout, compression_);
  const std::string name = std::string(OutputLayout::kIcon) + "/" +
                           OutputLayout::numberedName(library.number, OutputLayout::kZico);
  std::optional<PreviousOutputs::Found> found =
      previous_.find(OutputLayout::kIcon, PathToUtf8(library.path.filename()), facts);
  if (!found || found->relative != name) return false;
  // The icons it holds, from its index: "ZICO", the index's size, 16 bytes
  // per icon (a library with no icon has a 0-byte file).
  const Bytes& file = found->bytes;
  int icons = 0;
  if (!file.empty()) {
    if (file.size() < 8 || file[0] != 'Z' || file[1] != 'I' || file[2] != 'C' || file[3] != 'O') {
      return false;
    }
    const std::uint32_t index = GetLe32(file.data() + 4);
    if (index % kZicoRecordSize != 0 || index == 0 || 8 + std::uint64_t(index) > file.size()) {
      return false;
    }
    icons = static_cast<int>(index / kZicoRecordSize);
  }
  built.reused = true;
  built.reusedIcons = icons;
  built.reusedFile = std::move(found->bytes);
  facts.hash = std::move(found->hash);
  return true;
}

void ZicoReuse::built(std::size_t job, const BuiltIconLibrary& built) {
  MadeFacts& facts = facts_[job];
  // A library that warned is built again each time, so that it warns again.
  if (built.toPictures || built.missing || built.abandoned || !built.warnings.empty() ||
      facts.sourceHash.empty()) {
    facts.hash.clear();
    return;
  }
  // The file as WriteZico writes it: the header, then the data area.
  ContentHasher hasher;
  if (built.zico.size() > 0) {
    hasher.add(ByteView(EncodeZicoHeader(built.zico.records())));
    hasher.add(ByteView(built.zico.dataArea()));
  }
  facts.hash = hasher.finish();
}

void ZicoReuse::written(std::size_t job, const fs::path& zico, bool reused) {
  // A later library of the same number writes over the earlier one's file,
  // and its facts over the earlier's.
  made_[RecordKey(zico, private_)] = facts_[job];
  marked_(zico, reused);
}

std::string RecordKey(const fs::path& file, const fs::path& privateFolder) {
  std::string relative = PathToUtf8(file.lexically_relative(privateFolder));
  std::replace(relative.begin(), relative.end(), '\\', '/');
  return relative;
}

}  // namespace tessel
