#pragma once
// The names of every folder and file a run writes, inside the output root.
#include <filesystem>
#include <string>

namespace tessel {

// The marker file written in the output root at the end of a complete run.
inline constexpr const char* kMarkerFileName = "拷贝private到SD卡根目录.txt";
// The input-method table: its name in the resource folder and in bin/.
inline constexpr const char* kPinyinFile = "pinyin.bin";

class OutputLayout {
 public:
  OutputLayout() = default;
  explicit OutputLayout(std::filesystem::path root) : root_(std::move(root)) {}

  const std::filesystem::path& root() const { return root_; }
  std::filesystem::path marker() const;
  std::filesystem::path privateFolder() const {
    return private_.empty() ? root_ / "private" : private_;
  }

  // Beside private/ in the root: the new private/ while a run builds it, the
  // previous one for the moment between the two renames that swap them, the
  // lock of the run writing, the preview page of private/.
  std::filesystem::path stagingFolder() const { return root_ / ".tessel-staging"; }
  std::filesystem::path previousFolder() const { return root_ / ".tessel-previous"; }
  std::filesystem::path lockFile() const { return root_ / ".tessel.lock"; }
  // The marker written before the swap, renamed to marker() after it.
  std::filesystem::path stagedMarker() const { return root_ / ".tessel-marker"; }
  // Where each output of private/ came from; like the marker, written before
  // the swap and renamed after it.
  std::filesystem::path runRecord() const;
  std::filesystem::path stagedRunRecord() const;
  std::filesystem::path previewFolder() const { return root_ / "preview"; }
  // The same layout with the staging folder as its private/.
  OutputLayout staged() const;

  std::filesystem::path truefontFolder() const { return privateFolder() / "truefont"; }
  std::filesystem::path imageFolder() const { return privateFolder() / "image"; }
  std::filesystem::path iconFolder() const { return privateFolder() / "icon"; }
  std::filesystem::path binFolder() const { return privateFolder() / "bin"; }
  std::filesystem::path soundFolder() const { return privateFolder() / "sound"; }

  std::filesystem::path truefontIni() const { return truefontFolder() / "truefont.ini"; }
  std::filesystem::path fontFile() const { return truefontFolder() / "font.ttf"; }
  std::filesystem::path configText() const { return privateFolder() / "config.txt"; }
  std::filesystem::path configBin() const { return privateFolder() / "config.bin"; }
  // bin/13.bin, bin/14.bin, bin/22.bin
  std::filesystem::path table(int number) const;
  std::filesystem::path pinyin() const;
  std::filesystem::path packIndex() const { return binFolder() / "image.idx"; }
  std::filesystem::path packData() const { return binFolder() / "image.bin"; }

  // image/N.zbmp or image/N.jpg (extension with its dot).
  std::filesystem::path pictureFile(int number, const std::string& extension) const;
  std::filesystem::path iconFile(int number) const;   // icon/N.zico
  std::filesystem::path soundFile(int number) const;  // sound/N.wav, also for an .mp3

 private:
  std::filesystem::path root_;
  std::filesystem::path private_;  // empty: root/private
};

// True when a run writes a regular file of this name into this folder of
// private/ (the top when `folder` is empty).
bool runWrites(const std::string& folder, const std::string& name);

// The first entry of an old private/ that no run writes (a user's file, a
// link, a folder of another name), in name order; empty when there is none.
std::filesystem::path firstForeignEntry(const std::filesystem::path& priv);

}  // namespace tessel
