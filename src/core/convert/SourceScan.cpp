#include "convert/SourceScan.h"

#include <algorithm>
#include <system_error>

#include "util/Paths.h"
#include "util/Text.h"

namespace tessel {

namespace fs = std::filesystem;

namespace {

struct NameParts {
  std::string name;       // lower-cased, without extension
  std::string extension;  // lower-cased, from the last dot, dot included
};

// Splits a file name at its last dot; a name without a dot has no extension.
NameParts SplitName(const std::string& fileName) {
  NameParts parts;
  const std::string lower = AsciiLower(fileName);
  const auto dot = lower.rfind('.');
  if (dot == std::string::npos) {
    parts.name = lower;
  } else {
    parts.name = lower.substr(0, dot);
    parts.extension = lower.substr(dot);
  }
  return parts;
}

bool BeginsWith(const std::string& text, const char* prefix) { return text.rfind(prefix, 0) == 0; }
bool Contains(const std::string& text, const char* part) {
  return text.find(part) != std::string::npos;
}

// A file with one role (a table, the register text, the block file): the one
// listed last takes it.
void TakeRole(fs::path& role, const fs::path& entry, SourceInventory& inv) {
  if (!role.empty()) {
    inv.replaced.push_back({role, trText("Scan", "replaced by %1, listed after it for the same role")
                                      .arg(PathToUtf8(entry.filename()))});
  }
  role = entry;
}

void Ignore(const fs::path& entry, SourceInventory& inv, std::string reason) {
  inv.ignored.push_back({entry, std::move(reason)});
}

// Why an entry that is not a folder is never opened; empty when it is a
// regular file inside the source. Opening a FIFO would wait for a writer
// forever, a device could give bytes without end, and a link could hand
// over any file of the system.
std::string UnusableReason(const fs::path& entry, const fs::path& sourceFolder) {
  std::error_code ec;
  const fs::file_status target = fs::status(entry, ec);
  if (ec || !fs::exists(target)) return trText("Scan", "a link to nothing (its target does not exist)");
  if (!fs::is_regular_file(target)) {
    switch (target.type()) {
      case fs::file_type::fifo: return trText("Scan", "not a regular file (a FIFO)");
      case fs::file_type::socket: return trText("Scan", "not a regular file (a socket)");
      case fs::file_type::block:
      case fs::file_type::character: return trText("Scan", "not a regular file (a device)");
      default: return trText("Scan", "not a regular file");
    }
  }
  if (fs::is_symlink(fs::symlink_status(entry, ec))) {
    const fs::path real = fs::canonical(entry, ec);
    if (ec || !PathIsInside(real, sourceFolder)) {
      return trText("Scan", "a link to a file outside the source folder");
    }
  }
  return {};
}

void Classify(const fs::path& entry, bool isFolder, SourceInventory& inv,
              const fs::path& sourceFolder) {
  if (isFolder) {
    // Skipped with a warning: its files may be meant for the display.
    inv.unusable.push_back(
        {entry, trText("Scan", "a folder: only the files at the top of the source are read")});
    return;
  }
  if (std::string why = UnusableReason(entry, sourceFolder); !why.empty()) {
    inv.unusable.push_back({entry, std::move(why)});
    return;
  }
  const NameParts p = SplitName(PathToUtf8(entry.filename()));
  const std::string& ext = p.extension;
  if (ext == ".bin") {
    if (BeginsWith(p.name, "22")) {
      TakeRole(inv.table22, entry, inv);
    } else if (BeginsWith(p.name, "14")) {
      TakeRole(inv.table14, entry, inv);
    } else if (BeginsWith(p.name, "13") || BeginsWith(p.name, "30")) {
      TakeRole(inv.table13, entry, inv);
    } else {
      Ignore(entry, inv, trText("Scan", "the target uses only the 13 (or 30), 14 and 22 tables"));
    }
    return;
  }
  if (ext == ".txt") {
    if (Contains(p.name, "config")) {
      TakeRole(inv.configText, entry, inv);
    } else {
      Ignore(entry, inv, trText("Scan", "a text file that is not a register text (*config*.txt)"));
    }
    return;
  }
  if (ext == ".cfg") {
    if (BeginsWith(p.name, "t5")) {
      TakeRole(inv.t5Config, entry, inv);
    } else {
      Ignore(entry, inv, trText("Scan", "a configuration file that is not a block file (t5*.cfg)"));
    }
    return;
  }
  if (ext == ".bmp" || ext == ".jpg" || ext == ".jpeg") {
    inv.pictures.push_back(entry);
  } else if (ext == ".ico" || ext == ".icl") {
    inv.icons.push_back(entry);
  } else if (ext == ".wav" || ext == ".mp3") {
    inv.sounds.push_back(entry);
  } else {
    Ignore(entry, inv,
           ext.empty() ? trText("Scan", "the target does not use files without an extension")
                       : trText("Scan", "the target does not use %1 files").arg(ext));
  }
}

}  // namespace

ScanResult ScanSource(const fs::path& folder) {
  ScanResult result;
  std::error_code ec;
  if (folder.empty()) {
    result.status = ScanStatus::SourceInvalid;
    return result;
  }
  // A folder that cannot be reached or listed says why, in the system's words.
  const fs::file_status status = fs::status(folder, ec);
  if (ec && status.type() != fs::file_type::not_found) {
    result.status = ScanStatus::SourceUnreadable;
    result.reason = ec.message();
    return result;
  }
  if (!fs::exists(status)) {
    result.status = ScanStatus::SourceInvalid;
    return result;
  }
  if (!fs::is_directory(status)) {
    result.status = ScanStatus::SourceIsFile;
    return result;
  }

  std::vector<std::pair<fs::path, bool>> entries;  // path, is a folder
  for (auto it = fs::directory_iterator(folder, ec); !ec && it != fs::directory_iterator();
       it.increment(ec)) {
    std::error_code typeError;
    entries.emplace_back(it->path(), it->is_directory(typeError));
  }
  if (ec) {
    result.status = ScanStatus::SourceUnreadable;
    result.reason = ec.message();
    return result;
  }
  // Directory order differs between platforms and file systems; name order
  // makes "the one listed last wins" the same everywhere.
  std::sort(entries.begin(), entries.end(),
            [](const auto& a, const auto& b) { return a.first.filename() < b.first.filename(); });
  for (const auto& [entry, isFolder] : entries) {
    Classify(entry, isFolder, result.inventory, folder);
  }

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
