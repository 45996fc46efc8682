#include "convert/SourceScan.h"

#include <algorithm>
#include <system_error>

#include "util/Paths.h"

namespace tessel {

namespace fs = std::filesystem;

namespace {

struct NameParts {
  std::string name;       // lower-cased, without extension
  std::string extension;  // lower-cased, from the last dot, dot included
};

// Splits a file name at its last dot; a name without a dot has no extension.
NameParts splitName(const std::string& fileName) {
  NameParts parts;
  const std::string lower = asciiLower(fileName);
  const auto dot = lower.rfind('.');
  if (dot == std::string::npos) {
    parts.name = lower;
  } else {
    parts.name = lower.substr(0, dot);
    parts.extension = lower.substr(dot);
  }
  return parts;
}

bool beginsWith(const std::string& text, const char* prefix) { return text.rfind(prefix, 0) == 0; }
bool contains(const std::string& text, const char* part) {
  return text.find(part) != std::string::npos;
}

void classify(const fs::path& entry, SourceInventory& inv) {
  const NameParts p = splitName(pathToUtf8(entry.filename()));
  const std::string& ext = p.extension;
  if (ext == ".bin") {
    if (beginsWith(p.name, "22")) {
      inv.table22 = entry;
      return;
    }
    if (beginsWith(p.name, "14")) {
      inv.table14 = entry;
      return;
    }
    if (beginsWith(p.name, "13") || beginsWith(p.name, "30")) {
      inv.table13 = entry;
      return;
    }
    return;
  }
  if (ext == ".txt") {
    if (contains(p.name, "config")) inv.configText = entry;
    return;
  }
  if (ext == ".cfg") {
    if (beginsWith(p.name, "t5")) inv.t5Config = entry;
    return;
  }
  if (ext == ".bmp" || ext == ".jpg" || ext == ".jpeg") {
    inv.pictures.push_back(entry);
  } else if (ext == ".ico" || ext == ".icl") {
    inv.icons.push_back(entry);
  } else if (ext == ".wav" || ext == ".mp3") {
    inv.sounds.push_back(entry);
  }
}

}  // namespace

ScanResult ScanSource(const fs::path& folder) {
  ScanResult result;
  std::error_code ec;
  if (folder.empty() || !fs::exists(folder, ec)) {
    result.status = ScanStatus::SourceInvalid;
    return result;
  }

  std::vector<fs::path> entries;
  if (fs::is_directory(folder, ec)) {
    for (auto it = fs::directory_iterator(folder, ec); !ec && it != fs::directory_iterator();
         it.increment(ec)) {
      entries.push_back(it->path());
    }
  }
  // Directory order differs between platforms and file systems; name order
  // makes "the one listed last wins" the same everywhere.
  std::sort(entries.begin(), entries.end(),
            [](const fs::path& a, const fs::path& b) { return a.filename() < b.filename(); });
  for (const fs::path& entry : entries) classify(entry, result.inventory);

  SourceInventory& inv = result.inventory;
  if (inv.pictures.empty() && inv.icons.empty()) {
    result.status = ScanStatus::NoPictures;
    return result;
  }
  // Equal numbers keep name order, so the output does not depend on chance.
  std::stable_sort(inv.pictures.begin(), inv.pictures.end(),
                   [](const fs::path& a, const fs::path& b) { return FileNumber(a) < FileNumber(b); });
  return result;
}

}  // namespace tessel
