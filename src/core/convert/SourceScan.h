#pragma once
// The source folder scan: one level deep, every entry sorted by extension and
// the beginning of its (lower-cased) name. Paths keep their real spelling.
#include <filesystem>

#include "model/SourceInventory.h"

namespace tessel {

enum class ScanStatus { Ok, SourceInvalid, NoPictures };

struct ScanResult {
  ScanStatus status = ScanStatus::Ok;
  SourceInventory inventory;
};

// Lists `folder` (entries in name order, so that "the one listed last wins"
// is the same on every platform) and classifies each entry. A folder that
// is empty as a path or does not exist is SourceInvalid.
ScanResult ScanSource(const std::filesystem::path& folder);

}  // namespace tessel
