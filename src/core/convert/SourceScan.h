#pragma once
// The source folder scan: one level deep, every entry sorted by extension and
// the beginning of its (lower-cased) name. Paths keep their real spelling.
#include <filesystem>
#include <string>

#include "model/SourceInventory.h"

namespace tessel {

enum class ScanStatus {
  Ok,
  SourceInvalid,     // no such folder
  SourceUnreadable,  // it cannot be reached or listed: `reason` says why
  SourceIsFile,      // a file, not a folder
  NoPictures,
};

struct ScanResult {
  ScanStatus status = ScanStatus::Ok;
  std::string reason;  // SourceUnreadable: the system's reason
  SourceInventory inventory;
};

// Lists `folder` (entries in name order, so that "the one listed last wins"
// is the same on every platform) and classifies each entry. A folder that
// is empty as a path or does not exist is SourceInvalid; one that cannot be
// reached or listed is SourceUnreadable, with the system's reason.
ScanResult ScanSource(const std::filesystem::path& folder);

}  // namespace tessel
