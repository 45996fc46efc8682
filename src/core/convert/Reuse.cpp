#include "convert/Reuse.h"

#include <algorithm>

#include "model/SourceInventory.h"
#include "picture/PictureIntegrity.h"
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
        output.settings != facts.settings || output.width <= 0) {
      continue;
    }
    // The file as it is now: damaged or replaced by hand, it is made again.
    const fs::path file = private_ / pathFromUtf8(relative);
    std::error_code ec;
    if (fs::is_symlink(file, ec) || !fs::is_regular_file(file, ec)) return std::nullopt;
    std::optional<Bytes> bytes = readFile(file, output.size + 1);
    if (!bytes || bytes->size() != output.size || ContentHash(ByteView(*bytes)) != output.hash) {
      return std::nullopt;
    }
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

PictureWork MakeOrReusePicture(const PreviousOutputs& previous, const fs::path& picture,
                               const PictureEncoding& encoding, int rotation,
                               PictureTarget target, const WorkLimits& limits) {
  PictureWork work;
  work.facts.settings = PictureSettings(encoding, rotation, target);
  // The bytes the encoder reads (EncodePictureFile: not the rest of an
  // oversized BMP), and the file's size: what makes the output.
  std::error_code ec;
  const std::uintmax_t size = fs::file_size(picture, ec);
  const std::optional<Bytes> head = ec ? std::nullopt : readFile(picture, 54, true);
  if (head) {
    const std::uint64_t used =
        std::min<std::uint64_t>(PictureReadLength(ByteView(*head), size), std::uint64_t(1) << 31);
    if (std::optional<FileHash> source = ContentHashOfFile(picture, used)) {
      work.facts.sourceSize = size;
      work.facts.sourceHash = std::move(source->hash);
    }
  }
  if (target == PictureTarget::File) {
    // Only the name this picture's output has: image/N.zbmp or image/N.jpg.
    const std::string name = "image/" + std::to_string(FileNumber(picture)) +
                             (encoding.format == PictureFormat::Zbmp ? ".zbmp" : ".jpg");
    std::optional<PreviousOutputs::Found> found =
        previous.find("image", pathToUtf8(picture.filename()), work.facts);
    if (found && found->relative == name) {
      work.reused = true;
      work.encoded.ok = true;
      work.encoded.extension = pathToUtf8(pathFromUtf8(found->relative).extension());
      work.encoded.width = found->width;
      work.encoded.height = found->height;
      work.encoded.bytes = std::move(found->bytes);
      work.facts.hash = std::move(found->hash);
      work.facts.width = found->width;
      work.facts.height = found->height;
      return work;
    }
  }
  work.encoded = EncodePictureFile(picture, encoding, rotation, target, limits);
  if (work.encoded.ok && !work.facts.sourceHash.empty()) {
    work.facts.hash = ContentHash(ByteView(work.encoded.bytes));
    work.facts.width = work.encoded.width;
    work.facts.height = work.encoded.height;
  }
  return work;
}

std::string RecordKey(const fs::path& file, const fs::path& privateFolder) {
  std::string relative = pathToUtf8(file.lexically_relative(privateFolder));
  std::replace(relative.begin(), relative.end(), '\\', '/');
  return relative;
}

}  // namespace tessel
