#include "model/OutputLayout.h"

#include "model/RunRecord.h"
#include "util/Paths.h"

namespace tessel {

namespace fs = std::filesystem;

namespace {

// True when `name` is a decimal number (as FileNumber writes one) followed
// by `extension`.
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

bool OutputLayout::RunWrites(const std::string& folder, const std::string& name) {
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

}  // namespace tessel
