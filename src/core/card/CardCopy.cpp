#include "card/CardCopy.h"

#include <QCryptographicHash>
#include <QFile>
#include <QStorageInfo>
#include <algorithm>
#include <system_error>

#include "model/OutputLayout.h"
#include "util/FileIO.h"
#include "util/Platform.h"
#include "util/Paths.h"
#include "util/Text.h"

namespace tessel::card {

namespace {

// What the output holds, relative to its private/: the folders (parents
// before children) and the regular files with their sizes, in name order.
struct Listing {
  std::vector<fs::path> folders;
  std::vector<std::pair<fs::path, std::uint64_t>> files;
  std::uint64_t bytes = 0;
};

Listing ListOutput(const fs::path& priv) {
  Listing listing;
  std::error_code ec;
  for (auto it = fs::recursive_directory_iterator(priv, ec);
       !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
    const fs::file_status status = it->symlink_status(ec);
    const fs::path relative = it->path().lexically_relative(priv);
    if (fs::is_directory(status)) {
      listing.folders.push_back(relative);
    } else if (fs::is_regular_file(status)) {
      const std::uint64_t size = it->file_size(ec);
      listing.files.emplace_back(relative, size);
      listing.bytes += size;
    }
  }
  std::sort(listing.folders.begin(), listing.folders.end());
  std::sort(listing.files.begin(), listing.files.end());
  return listing;
}

std::uint64_t RoundUp(std::uint64_t size, std::uint64_t unit) {
  return (size + unit - 1) / unit * unit;
}

// The SHA-256 of a file, read through; empty with `reason` set when it cannot
// be read.
QByteArray HashOf(const fs::path& path, std::string* reason) {
  QFile file(ToQString(path));
  if (!file.open(QIODevice::ReadOnly)) {
    *reason = file.errorString().toStdString();
    return {};
  }
  QCryptographicHash hash(QCryptographicHash::Sha256);
  if (!hash.addData(&file)) {
    *reason = file.errorString().toStdString();
    return {};
  }
  return hash.result();
}

class Copy {
 public:
  Copy(const fs::path& outputRoot, const fs::path& cardRoot, const CardOptions& options)
      : output_(outputRoot),
        cardRoot_(cardRoot),
        card_(cardRoot),
        staging_(card_.cardStagingFolder()),
        previous_(card_.cardPreviousFolder()),
        options_(options) {
    result_.cardPrivate = card_.privateFolder();
  }

  CardResult run() {
    if (!checkOutput() || !checkCard()) return result_;
    restoreInterruptedSwap();
    if (!checkForeign()) return result_;
    removeStaging();
    if (!checkRoom()) return result_;
    if (!write() || !verify() || !swap()) {
      removeStaging();
      return result_;
    }
    result_.outcome = CardOutcome::Verified;
    return result_;
  }

 private:
  bool refuse(const Text& text) {
    result_.outcome = CardOutcome::Refused;
    result_.message = text.str();
    return false;
  }
  bool fail(const std::string& message, const fs::path& file) {
    result_.outcome = CardOutcome::Failed;
    result_.message = message;
    result_.file = file;
    return false;
  }
  bool stopped() {
    if (!options_.stop || !options_.stop->load()) return false;
    result_.outcome = CardOutcome::Stopped;
    result_.message =
        trText("Card", "the copy was stopped; the card's private folder is as it was");
    return true;
  }
  void report() {
    if (options_.progress) options_.progress(progress_);
  }

  bool checkOutput() {
    std::error_code ec;
    if (!fs::is_directory(output_.privateFolder(), ec) ||
        !fs::is_regular_file(output_.marker(), ec)) {
      return refuse(trText("Card",
                           "%1 holds no complete output (a private folder beside the marker "
                           "file); convert a project into it first")
                        .arg(PathToUtf8(output_.root())));
    }
    listing_ = ListOutput(output_.privateFolder());
    result_.files = static_cast<int>(listing_.files.size());
    result_.bytes = listing_.bytes;
    progress_.filesTotal = result_.files;
    progress_.bytesTotal = result_.bytes;
    return true;
  }

  bool checkCard() {
    const std::string name = PathToUtf8(cardRoot_);
    std::error_code ec;
    if (!fs::is_directory(cardRoot_, ec)) {
      if (ec && ec != std::errc::no_such_file_or_directory) {
        return refuse(trText("Card", "cannot use %1 as the card: %2").arg(name).arg(ec.message()));
      }
      return refuse(trText("Card", "cannot use %1 as the card: it is not a folder").arg(name));
    }
    if (SameFile(cardRoot_, output_.root()) || PathIsInside(cardRoot_, output_.privateFolder()) ||
        PathIsInside(output_.root(), card_.privateFolder()) ||
        PathIsInside(output_.root(), staging_)) {
      return refuse(trText("Card", "cannot use %1 as the card: the output %2 lies there")
                        .arg(name)
                        .arg(PathToUtf8(output_.root())));
    }
    return true;
  }

  // A copy that ended between the two renames of its swap left the card's
  // private/ under the previous name: it goes back first.
  void restoreInterruptedSwap() {
    std::error_code ec;
    if (!fs::exists(fs::symlink_status(previous_, ec))) return;
    if (!fs::exists(fs::symlink_status(card_.privateFolder(), ec))) {
      fs::rename(previous_, card_.privateFolder(), ec);
    } else {
      DeleteFolderTree(previous_);
    }
  }

  bool checkForeign() {
    const fs::path priv = card_.privateFolder();
    std::error_code ec;
    if (!fs::exists(fs::symlink_status(priv, ec))) return true;
    const fs::path foreign = FirstForeignEntry(priv);
    if (foreign.empty() || options_.force) return true;
    if (options_.confirmForeign && options_.confirmForeign(priv, foreign)) return true;
    result_.foreign = foreign;
    return refuse(trText("Card", "%1 holds %2, which no run writes; nothing was written")
                      .arg(PathToUtf8(priv))
                      .arg(PathToUtf8(foreign)));
  }

  void removeStaging() {
    std::error_code ec;
    if (fs::exists(fs::symlink_status(staging_, ec))) DeleteFolderTree(staging_);
  }

  // The whole output must fit beside the card's previous private/, which
  // stays until the new one is verified: every file and folder takes whole
  // allocation units.
  bool checkRoom() {
    const QStorageInfo storage(ToQString(cardRoot_));
    const std::uint64_t unit = storage.blockSize() > 0 ? storage.blockSize() : 4096;
    std::uint64_t needed = RoundUp(1, unit) * (listing_.folders.size() + 2);  // + staging, marker
    for (const auto& [file, size] : listing_.files)
      needed += RoundUp(std::max<std::uint64_t>(size, 1), unit);
    result_.needed = needed;
    result_.available =
        storage.isValid() ? static_cast<std::uint64_t>(storage.bytesAvailable()) : 0;
    if (storage.isValid() && result_.available < needed) {
      return refuse(trText("Card",
                           "%1 has no room for the output: it needs %2 MB, %3 MB are free; "
                           "nothing was written")
                        .arg(PathToUtf8(cardRoot_))
                        .arg(static_cast<double>(needed) / 1e6, 1)
                        .arg(static_cast<double>(result_.available) / 1e6, 1));
    }
    return true;
  }

  bool write() {
    std::error_code ec;
    fs::create_directory(staging_, ec);
    if (ec) {
      return fail(
          trText("Card", "cannot create %1: %2").arg(PathToUtf8(staging_)).arg(ec.message()),
          staging_);
    }
    for (const fs::path& folder : listing_.folders) {
      fs::create_directory(staging_ / folder, ec);
      if (ec) {
        return fail(trText("Card", "cannot create %1: %2")
                        .arg(PathToUtf8(staging_ / folder))
                        .arg(ec.message()),
                    staging_ / folder);
      }
    }
    report();
    for (const auto& [file, size] : listing_.files) {
      if (stopped()) return false;
      const fs::path target = staging_ / file;
      std::string error;
      if (!CopyFileTo(output_.privateFolder() / file, target, &error, options_.faults)) {
        if (error.empty()) {
          error = trText("Card", "cannot read %1").arg(PathToUtf8(output_.privateFolder() / file));
        }
        return fail(error, target);
      }
      std::string reason;
      if (!SyncFile(target, &reason)) {
        return fail(
            trText("Card", "cannot flush %1 to the card: %2").arg(PathToUtf8(target)).arg(reason),
            target);
      }
      ++progress_.filesDone;
      progress_.bytesDone += size;
      report();
    }
    for (auto it = listing_.folders.rbegin(); it != listing_.folders.rend(); ++it) {
      if (!syncFolderOrFail(staging_ / *it)) return false;
    }
    return syncFolderOrFail(staging_) && syncFolderOrFail(cardRoot_);
  }

  bool syncFolderOrFail(const fs::path& folder) {
    std::string reason;
    if (SyncFolder(folder, &reason)) return true;
    return fail(
        trText("Card", "cannot flush %1 to the card: %2").arg(PathToUtf8(folder)).arg(reason),
        folder);
  }

  // Every file read back from the card and compared with the output.
  bool verify() {
    progress_ = CardProgress{true, 0, result_.files, 0, result_.bytes};
    report();
    for (const auto& [file, size] : listing_.files) {
      if (stopped()) return false;
      const fs::path source = output_.privateFolder() / file;
      const fs::path copy = staging_ / file;
      std::error_code ec;
      const std::uint64_t copySize = fs::file_size(copy, ec);
      if (ec) {
        return fail(
            trText("Card", "cannot read back %1: %2").arg(PathToUtf8(copy)).arg(ec.message()),
            copy);
      }
      if (copySize != size) {
        return fail(trText("Card", "%1 on the card is not the output's %2: %3 bytes instead of %4")
                        .arg(PathToUtf8(copy))
                        .arg(PathToUtf8(source))
                        .arg(copySize)
                        .arg(size),
                    copy);
      }
      std::string reason;
      const QByteArray copyHash = HashOf(copy, &reason);
      if (copyHash.isEmpty()) {
        return fail(trText("Card", "cannot read back %1: %2").arg(PathToUtf8(copy)).arg(reason),
                    copy);
      }
      const QByteArray sourceHash = HashOf(source, &reason);
      if (sourceHash.isEmpty()) {
        return fail(trText("Card", "cannot read %1: %2").arg(PathToUtf8(source)).arg(reason),
                    source);
      }
      if (copyHash != sourceHash) {
        return fail(trText("Card", "%1 on the card is not the output's %2: its content differs")
                        .arg(PathToUtf8(copy))
                        .arg(PathToUtf8(source)),
                    copy);
      }
      ++progress_.filesDone;
      progress_.bytesDone += size;
      report();
    }
    return true;
  }

  // Renames only: the previous private/ steps aside, the staging folder takes
  // its name, then the previous one goes. The marker stands only beside a
  // complete private/.
  bool swap() {
    if (stopped()) return false;
    const fs::path priv = card_.privateFolder();
    const fs::path marker = card_.marker();
    std::error_code ec;
    const bool hadMarker = fs::exists(fs::symlink_status(marker, ec));
    fs::remove(marker, ec);
    if (ec) {
      return fail(trText("Card", "cannot remove %1: %2").arg(PathToUtf8(marker)).arg(ec.message()),
                  marker);
    }
    const bool hadPrevious = fs::exists(fs::symlink_status(priv, ec));
    // Puts the card back as it was: the new tree back into staging (which the
    // caller removes), the previous one and its marker in their places.
    const auto undo = [&](bool swapped) {
      std::error_code back;
      if (swapped) fs::rename(priv, staging_, back);
      if (hadPrevious) fs::rename(previous_, priv, back);
      fs::remove(marker, back);
      if (hadMarker) WriteFile(marker, {});
    };
    if (hadPrevious) {
      fs::rename(priv, previous_, ec);
      if (ec) {
        undo(false);
        return fail(trText("Card", "cannot rename %1: %2").arg(PathToUtf8(priv)).arg(ec.message()),
                    priv);
      }
    }
    fs::rename(staging_, priv, ec);
    if (ec) {
      undo(false);
      return fail(
          trText("Card", "cannot rename %1: %2").arg(PathToUtf8(staging_)).arg(ec.message()),
          staging_);
    }
    std::string reason;
    if (!SyncFolder(cardRoot_, &reason)) {
      undo(true);
      return fail(
          trText("Card", "cannot flush %1 to the card: %2").arg(PathToUtf8(cardRoot_)).arg(reason),
          cardRoot_);
    }
    std::string error;
    if (!WriteFile(marker, {}, &error, options_.faults)) {
      undo(true);
      return fail(error, marker);
    }
    if (!SyncFile(marker, &reason)) {
      undo(true);
      return fail(
          trText("Card", "cannot flush %1 to the card: %2").arg(PathToUtf8(marker)).arg(reason),
          marker);
    }
    if (hadPrevious) DeleteFolderTree(previous_);  // what stays is found by the next copy
    return syncFolderOrFail(cardRoot_);
  }

  OutputLayout output_;
  fs::path cardRoot_;
  OutputLayout card_;
  fs::path staging_;
  fs::path previous_;
  const CardOptions& options_;
  Listing listing_;
  CardProgress progress_;
  CardResult result_;
};

}  // namespace

CardResult CopyToCard(const fs::path& outputRoot, const fs::path& cardRoot,
                      const CardOptions& options) {
  return Copy(outputRoot, cardRoot, options).run();
}

std::vector<CardVolume> CardVolumes() {
  std::vector<CardVolume> volumes;
  const QString system = QStorageInfo::root().rootPath();
  for (const QStorageInfo& storage : QStorageInfo::mountedVolumes()) {
    if (!storage.isValid() || !storage.isReady() || storage.isReadOnly()) continue;
    const QString root = storage.rootPath();
#if defined(Q_OS_WIN)
    if (root == system) continue;
#elif defined(Q_OS_MACOS)
    if (!root.startsWith(QLatin1String("/Volumes/"))) continue;
#else
    Q_UNUSED(system);
    if (!root.startsWith(QLatin1String("/media/")) &&
        !root.startsWith(QLatin1String("/run/media/"))) {
      continue;
    }
#endif
    CardVolume volume;
    volume.root = ToPath(root);
    volume.name = storage.displayName().toStdString();
    volume.available = static_cast<std::uint64_t>(std::max<qint64>(0, storage.bytesAvailable()));
    volume.total = static_cast<std::uint64_t>(std::max<qint64>(0, storage.bytesTotal()));
    volumes.push_back(std::move(volume));
  }
  return volumes;
}

}  // namespace tessel::card
