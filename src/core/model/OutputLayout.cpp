#include "model/OutputLayout.h"

#include "util/Paths.h"

namespace tessel {

namespace fs = std::filesystem;

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
