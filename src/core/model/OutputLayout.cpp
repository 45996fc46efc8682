#include "model/OutputLayout.h"

#include <algorithm>
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

fs::path OutputLayout::marker() const { return root_ / pathFromUtf8(kMarkerFileName); }

fs::path OutputLayout::table(int number) const {
  return binFolder() / (std::to_string(number) + ".bin");
}

fs::path OutputLayout::pinyin() const { return binFolder() / kPinyinFile; }

fs::path OutputLayout::pictureFile(int number, const std::string& extension) const {
  return imageFolder() / (std::to_string(number) + extension);
}

fs::path OutputLayout::iconFile(int number) const {
  return iconFolder() / (std::to_string(number) + ".zico");
}

fs::path OutputLayout::soundFile(int number) const {
  return soundFolder() / (std::to_string(number) + ".wav");
}

// True when `name` is a decimal number (as FileNumber writes one) followed
// by `extension`.
namespace {

bool numberedName(const std::string& name, const char* extension) {
  const std::string ext(extension);
  if (name.size() <= ext.size() || name.compare(name.size() - ext.size(), ext.size(), ext) != 0) {
    return false;
  }
  std::size_t i = name[0] == '-' ? 1 : 0;
  const std::size_t end = name.size() - ext.size();
  if (i == end) return false;
  for (; i < end; ++i) {
    if (name[i] < '0' || name[i] > '9') return false;
  }
  return true;
}

}  // namespace

// True when a run writes a regular file of this name into this folder of
// private/ (the top when `folder` is empty).
bool runWrites(const std::string& folder, const std::string& name) {
  if (folder.empty()) return name == "config.txt" || name == "config.bin";
  if (folder == "truefont") return name == "truefont.ini" || name == "font.ttf";
  if (folder == "image") return numberedName(name, ".zbmp") || numberedName(name, ".jpg");
  if (folder == "icon") return numberedName(name, ".zico");
  if (folder == "sound") return numberedName(name, ".wav");
  if (folder == "bin") {
    for (const char* known : {"13.bin", "14.bin", "22.bin", "image.idx", "image.bin", kPinyinFile}) {
      if (name == known) return true;
    }
  }
  return false;
}

// The first entry of an old private/ that no run writes (a user's file, a
// link, a folder of another name), in name order; empty when there is none.
fs::path firstForeignEntry(const fs::path& priv) {
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
    const std::string name = pathToUtf8(top.path().filename());
    const fs::file_status type = top.symlink_status(ec);
    if (fs::is_regular_file(type) && runWrites({}, name)) continue;
    const bool known = name == "truefont" || name == "image" || name == "icon" || name == "bin" ||
                       name == "sound";
    if (!known || !fs::is_directory(type)) return top.path();
    for (const fs::directory_entry& inner : sorted(top.path())) {
      if (!fs::is_regular_file(inner.symlink_status(ec)) ||
          !runWrites(name, pathToUtf8(inner.path().filename()))) {
        return inner.path();
      }
    }
  }
  return {};
}

}  // namespace tessel
