#pragma once
// The classified source folder and the branch it takes.
#include <filesystem>
#include <string>
#include <vector>

namespace tessel {

struct SourceInventory {
  std::vector<std::filesystem::path> pictures;  // .bmp .jpg .jpeg, sorted by file number
  std::vector<std::filesystem::path> icons;     // .ico .icl, in listing order
  std::vector<std::filesystem::path> sounds;    // .wav .mp3, in listing order
  std::filesystem::path configText;             // *config*.txt
  std::filesystem::path t5Config;               // t5*.cfg
  std::filesystem::path table22;                // 22*.bin
  std::filesystem::path table14;                // 14*.bin
  std::filesystem::path table13;                // 13*.bin or 30*.bin

  // Entries no step uses, each with the reason.
  struct SetAside {
    std::filesystem::path path;
    std::string reason;
  };
  std::vector<SetAside> ignored;   // kinds of file the display never uses
  std::vector<SetAside> replaced;  // a later entry took their role
  // Entries that are never opened: a folder, not a regular file (a FIFO, a
  // socket, a device, a link to one), or a link to a file outside the source
  // folder.
  std::vector<SetAside> unusable;
};

enum class Branch { A, B };

// Branch A when both the 14 and the 13 table are there.
inline Branch ChooseBranch(const SourceInventory& inventory) {
  return (!inventory.table14.empty() && !inventory.table13.empty()) ? Branch::A : Branch::B;
}

// The file number of a path: the leading decimal number of its stem (0 when
// there is none), clamped to the range of int. Every numbered output takes
// its source's number.
int FileNumber(const std::filesystem::path& path);

}  // namespace tessel
