#include "model/OutputLayout.h"

#include <algorithm>
#include <charconv>
#include <system_error>
#include <vector>

#include "model/RunRecord.h"
#include "util/Paths.h"

namespace tessel {

namespace fs = std::filesystem;

OutputLayout OutputLayout::staged() const {
  OutputLayout layout(root_);
  layout.private_ = stagingFolder();
  return layout;
}

fs::path OutputLayout::runRecord() const { return root_ / kRunRecordFileName; }

fs::path OutputLayout::stagedRunRecord() const {
  return root_ / (std::string(kRunRecordFileName) + ".new");
}

fs::path OutputLayout::marker() const { return root_ / PathFromUtf8(kMarkerFileName); }

fs::path OutputLayout::table(int number) const {
  return binFolder() / numberedName(number, kTableExtension);
}

fs::path OutputLayout::pinyin() const { return binFolder() / kPinyinFile; }

fs::path OutputLayout::pictureFile(int number, const std::string& extension) const {
  return imageFolder() / numberedName(number, extension);
}

fs::path OutputLayout::iconFile(int number) const {
  return iconFolder() / numberedName(number, kZico);
}

fs::path OutputLayout::soundFile(int number) const {
  return soundFolder() / numberedName(number, kWav);
}

fs::path OutputLayout::defaultRoot() {
  const fs::path docs = DocumentsFolder();
  return docs.empty() ? fs::path() : docs / "TESSEL";
}

OutputLayout OutputLayout::ofPrivateFolder(const fs::path& priv) {
  OutputLayout layout(priv.parent_path());
  layout.private_ = priv;
  return layout;
}

bool OutputLayout::isOutputRoot(const fs::path& path) {
  std::error_code ec;
  return fs::is_directory(path / kPrivate, ec);
}

bool OutputLayout::looksLikePrivateFolder(const fs::path& folder) {
  std::error_code ec;
  if (!fs::is_directory(folder, ec)) return false;
  if (fs::exists(folder / kConfigText, ec)) return true;
  for (const char* inner : {kImage, kIcon, kTruefont, kBin}) {
    if (fs::is_directory(folder / inner, ec)) return true;
  }
  return false;
}

fs::path OutputLayout::privateFolderOf(const fs::path& path) {
  return isOutputRoot(path) ? path / kPrivate : path;
}

std::string OutputLayout::numberedName(int number, const std::string& extension) {
  return std::to_string(number) + extension;
}

std::optional<int> OutputLayout::numberOfName(const std::string& name, const std::string& extension) {
  if (name.size() <= extension.size() ||
      name.compare(name.size() - extension.size(), extension.size(), extension) != 0) {
    return std::nullopt;
  }
  const std::size_t length = name.size() - extension.size();
  int value = 0;
  const auto [end, ec] = std::from_chars(name.data(), name.data() + length, value);
  if (ec != std::errc() || end != name.data() + length) return std::nullopt;
  // One spelling per number: "007" and "-0" are not the run's.
  if (name.compare(0, length, std::to_string(value)) != 0) return std::nullopt;
  return value;
}

std::string OutputLayout::inPrivate(const std::string& folder, const std::string& name) {
  return folder + "/" + name;
}

// True when a run writes a regular file of this name into this folder of
// private/ (the top when `folder` is empty).
bool RunWrites(const std::string& folder, const std::string& name) {
  using L = OutputLayout;
  const auto numbered = [&name](const char* extension) {
    return L::numberOfName(name, extension).has_value();
  };
  if (folder.empty()) return name == L::kConfigText || name == L::kConfigBin;
  if (folder == L::kTruefont) return name == L::kTruefontIni || name == L::kFontFile;
  if (folder == L::kImage) return numbered(L::kZbmp) || numbered(L::kJpg);
  if (folder == L::kIcon) return numbered(L::kZico);
  if (folder == L::kSound) return numbered(L::kWav);
  if (folder == L::kBin) {
    for (const int table : {13, 14, 22}) {
      if (name == L::numberedName(table, L::kTableExtension)) return true;
    }
    return name == L::kPackIndex || name == L::kPackData || name == kPinyinFile;
  }
  return false;
}

// The first entry of an old private/ that no run writes (a user's file, a
// link, a folder of another name), in name order; empty when there is none.
fs::path FirstForeignEntry(const fs::path& priv) {
  std::error_code ec;
  const auto sorted = [](const fs::path& folder) {
    std::vector<fs::directory_entry> entries;
    std::error_code listed;
    for (auto it = fs::directory_iterator(folder, listed);
         !listed && it != fs::directory_iterator(); it.increment(listed)) {
      entries.push_back(*it);
    }
    std::sort(entries.begin(), entries.end(),
              [](const auto& a, const auto& b) { return a.path().filename() < b.path().filename(); });
    return entries;
  };
  const fs::file_status status = fs::symlink_status(priv, ec);
  if (fs::is_symlink(status)) return {};  // the link goes, its target stays
  if (!fs::is_directory(status)) return priv;
  for (const fs::directory_entry& top : sorted(priv)) {
    const std::string name = PathToUtf8(top.path().filename());
    const fs::file_status type = top.symlink_status(ec);
    if (fs::is_regular_file(type) && RunWrites({}, name)) continue;
    const bool known = name == OutputLayout::kTruefont || name == OutputLayout::kImage ||
                       name == OutputLayout::kIcon || name == OutputLayout::kBin ||
                       name == OutputLayout::kSound;
    if (!known || !fs::is_directory(type)) return top.path();
    for (const fs::directory_entry& inner : sorted(top.path())) {
      if (!fs::is_regular_file(inner.symlink_status(ec)) ||
          !RunWrites(name, PathToUtf8(inner.path().filename()))) {
        return inner.path();
      }
    }
  }
  return {};
}

}  // namespace tessel
