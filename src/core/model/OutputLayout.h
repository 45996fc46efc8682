#pragma once
// The output layout: the name of every folder and file a run writes inside
// the output root, the number format of numbered outputs, the default root,
// and the rule of what a run writes into private/.
#include <filesystem>
#include <optional>
#include <string>

namespace tessel {

// The marker file written in the output root at the end of a complete run.
inline constexpr const char* kMarkerFileName = "拷贝private到SD卡根目录.txt";
// The input-method table: its name in the resource folder and in bin/.
inline constexpr const char* kPinyinFile = "pinyin.bin";

class OutputLayout {
 public:
  // The names, as the display reads them.
  static constexpr const char* kPrivate = "private";
  static constexpr const char* kTruefont = "truefont";
  static constexpr const char* kImage = "image";
  static constexpr const char* kIcon = "icon";
  static constexpr const char* kBin = "bin";
  static constexpr const char* kSound = "sound";
  static constexpr const char* kConfigText = "config.txt";
  static constexpr const char* kConfigBin = "config.bin";
  static constexpr const char* kTruefontIni = "truefont.ini";
  static constexpr const char* kFontFile = "font.ttf";
  static constexpr const char* kPackIndex = "image.idx";
  static constexpr const char* kPackData = "image.bin";
  static constexpr const char* kZbmp = ".zbmp";
  static constexpr const char* kJpg = ".jpg";
  static constexpr const char* kZico = ".zico";
  static constexpr const char* kWav = ".wav";
  static constexpr const char* kTableExtension = ".bin";

  OutputLayout() = default;
  explicit OutputLayout(std::filesystem::path root) : root_(std::move(root)) {}
  // The layout of a private folder of any name (a card's copy may have been
  // renamed); its root is the folder that holds it.
  static OutputLayout ofPrivateFolder(const std::filesystem::path& priv);

  // Documents/TESSEL, where a run writes when no root is given; empty when
  // the user has no Documents or home folder.
  static std::filesystem::path defaultRoot();
  // The private folder of a path that is an output root (it holds private/)
  // or a private folder itself.
  static std::filesystem::path privateFolderOf(const std::filesystem::path& path);
  // True when `path` is an output root: it holds a private/ folder.
  static bool isOutputRoot(const std::filesystem::path& path);
  // True when the folder holds something of a private folder (config.txt or
  // one of its folders).
  static bool looksLikePrivateFolder(const std::filesystem::path& folder);

  // "N" + extension, N as the run writes a file number.
  static std::string numberedName(int number, const std::string& extension);
  // The number of a name numberedName() gives, exactly as it gives it (no
  // sign, no leading zero, no other spelling of the number); nothing for any
  // other name. The display reads only these names.
  static std::optional<int> numberOfName(const std::string& name, const std::string& extension);
  // "folder/name": a file of private/ as the inspection and the run record
  // name it.
  static std::string inPrivate(const std::string& folder, const std::string& name);

  const std::filesystem::path& root() const { return root_; }
  std::filesystem::path marker() const;
  std::filesystem::path privateFolder() const {
    return private_.empty() ? root_ / kPrivate : private_;
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
  // On an SD card (this layout's root): the copy while it is written and
  // read back, and the card's previous private/ for the moment of the swap.
  std::filesystem::path cardStagingFolder() const { return root_ / ".tessel-card-staging"; }
  std::filesystem::path cardPreviousFolder() const { return root_ / ".tessel-card-previous"; }
  // The same layout with the staging folder as its private/.
  OutputLayout staged() const;

  std::filesystem::path truefontFolder() const { return privateFolder() / kTruefont; }
  std::filesystem::path imageFolder() const { return privateFolder() / kImage; }
  std::filesystem::path iconFolder() const { return privateFolder() / kIcon; }
  std::filesystem::path binFolder() const { return privateFolder() / kBin; }
  std::filesystem::path soundFolder() const { return privateFolder() / kSound; }

  std::filesystem::path truefontIni() const { return truefontFolder() / kTruefontIni; }
  std::filesystem::path fontFile() const { return truefontFolder() / kFontFile; }
  std::filesystem::path configText() const { return privateFolder() / kConfigText; }
  std::filesystem::path configBin() const { return privateFolder() / kConfigBin; }
  // bin/13.bin, bin/14.bin, bin/22.bin
  std::filesystem::path table(int number) const;
  std::filesystem::path pinyin() const;
  std::filesystem::path packIndex() const { return binFolder() / kPackIndex; }
  std::filesystem::path packData() const { return binFolder() / kPackData; }

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
bool RunWrites(const std::string& folder, const std::string& name);

// The first entry of an old private/ that no run writes (a user's file, a
// link, a folder of another name), in name order; empty when there is none.
std::filesystem::path FirstForeignEntry(const std::filesystem::path& priv);

}  // namespace tessel
