#pragma once
// The copy of an output to an SD card: private/ and the marker, written into
// a staging folder on the card, flushed, read back and compared with the
// output, and only then swapped in for the card's previous private/, which
// stays as it was whenever the copy does not end verified.
#include <atomic>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace tessel {

class WriteFaults;

namespace card {

namespace fs = std::filesystem;

enum class CardOutcome {
  Verified,  // every file is on the card and read back equal
  Refused,   // nothing was written: no output, not a folder, no room, foreign files
  Failed,    // a write, a flush or the read-back failed; the card's private/ is as it was
  Stopped,   // stopped between two files; the card's private/ is as it was
};

struct CardProgress {
  bool verifying = false;  // reading back rather than writing
  int filesDone = 0;
  int filesTotal = 0;
  std::uint64_t bytesDone = 0;
  std::uint64_t bytesTotal = 0;
};

struct CardOptions {
  // Replace a card's private/ holding files no run writes without asking.
  bool force = false;
  // Asked (without `force`) before such a private/ is replaced: the folder
  // and its first foreign entry. Without it the copy is refused.
  std::function<bool(const fs::path& cardPrivate, const fs::path& foreign)> confirmForeign;
  std::function<void(const CardProgress&)> progress;
  const std::atomic<bool>* stop = nullptr;
  const WriteFaults* faults = nullptr;  // tests: writes that fail as on a full card
};

struct CardResult {
  CardOutcome outcome = CardOutcome::Refused;
  std::string message;  // why it was refused or failed, in the user's language
  fs::path file;        // the file a failure is about, when there is one
  fs::path foreign;     // refused: the first entry of the card's private/ no run writes
  fs::path cardPrivate;
  int files = 0;             // files of the output
  std::uint64_t bytes = 0;   // their bytes
  std::uint64_t needed = 0;  // room the copy needs on the card
  std::uint64_t available = 0;
};

// Copies outputRoot/private and the marker to cardRoot.
CardResult CopyToCard(const fs::path& outputRoot, const fs::path& cardRoot,
                      const CardOptions& options = {});

// A volume a user may mean as the card: mounted, writable, removable by its
// place (under /media or /run/media on Linux, /Volumes on macOS, any drive
// but the system's on Windows).
struct CardVolume {
  fs::path root;
  std::string name;
  std::uint64_t available = 0;
  std::uint64_t total = 0;
};
std::vector<CardVolume> CardVolumes();

}  // namespace card
}  // namespace tessel
