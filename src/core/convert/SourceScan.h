#pragma once
// The source folder scan: one level deep, every entry sorted by extension and
// the beginning of its (lower-cased) name. Paths keep their real spelling.
#include <filesystem>
#include <vector>

namespace tessel {

namespace fs = std::filesystem;

struct SourceInventory {
  std::vector<fs::path> pictures;  // .bmp .jpg .jpeg, sorted by file number
  std::vector<fs::path> icons;     // .ico .icl, in listing order
  std::vector<fs::path> sounds;    // .wav .mp3, in listing order
  fs::path configText;             // *config*.txt
  fs::path t5Config;               // t5*.cfg
  fs::path table22;                // 22*.bin
  fs::path table14;                // 14*.bin
  fs::path table13;                // 13*.bin or 30*.bin
};

enum class Branch { A, B };

enum class ScanStatus { Ok, SourceInvalid, NoPictures };

struct ScanResult {
  ScanStatus status = ScanStatus::Ok;
  SourceInventory inventory;
};

// Lists `folder` (entries in name order, so that "the one listed last wins"
// is the same on every platform) and classifies each entry.
ScanResult ScanSource(const fs::path& folder);

// Branch A when both the 14 and the 13 table are there.
Branch ChooseBranch(const SourceInventory& inventory);

// The file number of a path: the leading decimal number of its stem (0 when
// there is none), clamped to the range of int.
int FileNumber(const fs::path& path);

}  // namespace tessel
