#include "convert/OutputClaim.h"

#include <QLocale>
#include <algorithm>
#include <system_error>

#include "util/Paths.h"
#include "util/Platform.h"
#include "util/Text.h"

namespace tessel {

namespace fs = std::filesystem;

namespace {

std::string Shown(const fs::path& path) { return Printable(PathToUtf8(path)); }

// Removes a folder with what it holds (links as links), or whatever else
// stands at the path. Empty when it is gone; else the system's reason.
std::string RemoveEntry(const fs::path& path) {
  if (EntryKindOf(path) == EntryKind::Missing) return {};
  fs::path left;
  std::string reason;
  if (DeleteFolderTree(path, &left, &reason)) return {};
  return trText("Run", "%1 is still there (%2)").arg(Shown(left.empty() ? path : left)).arg(reason);
}

std::string RenameReason(const fs::path& from, const fs::path& to) {
  std::error_code ec;
  fs::rename(from, to, ec);
  return ec ? ec.message() : std::string();
}

QString DataSize(std::uint64_t bytes) {
  return QLocale().formattedDataSize(static_cast<qint64>(bytes), 1, QLocale::DataSizeTraditionalFormat);
}

}  // namespace

// The root exists, is a folder and takes new files.
std::string OutputClaim::checkRoot() {
  const fs::path& root = layout_.root();
  const std::string rootName = Shown(root);
  std::error_code ec, made;
  fs::create_directories(root, made);  // its reason counts: a read-only file system, say
  if (!fs::is_directory(root, ec)) {
    if (!ec && !made) {
      return trText("Run", "cannot use %1 as the output folder: it is not a folder").arg(rootName);
    }
    return trText("Run", "cannot use %1 as the output folder: %2")
        .arg(rootName)
        .arg((made ? made : ec).message());
  }
  const fs::path probe = root / (".tessel-probe-" + std::to_string(CurrentProcessId()));
  fs::remove(probe, ec);
  std::string reason;
  if (!CreateNewFile(probe, {}, &reason)) {
    return trText("Run", "cannot write into %1: %2").arg(rootName).arg(reason);
  }
  fs::remove(probe, ec);
  return {};
}

// What a stopped or killed run left: a staging folder, the previous private/
// set aside between the two renames of a swap. The newest complete private/
// is kept.
std::string OutputClaim::cleanLeftovers(std::vector<std::string>& notes) {
  const fs::path priv = layout_.privateFolder();
  const fs::path staging = layout_.stagingFolder();
  const fs::path previous = layout_.previousFolder();
  if (EntryKindOf(previous) != EntryKind::Missing) {
    if (EntryKindOf(priv) == EntryKind::Missing) {
      // Stopped between the two renames: the staging folder was complete.
      const bool staged = EntryKindOf(staging) == EntryKind::Folder;
      const fs::path keep = staged ? staging : previous;
      if (const std::string why = RenameReason(keep, priv); !why.empty()) {
        return trText("Run", "cannot put %1 back in place of %2: %3")
            .arg(Shown(keep))
            .arg(Shown(priv))
            .arg(why);
      }
      notes.push_back(staged ? trText("Run",
                                      "a run was stopped while it put its output in place: its "
                                      "complete output is now %1")
                                   .arg(Shown(priv))
                             : trText("Run",
                                      "a run was stopped while it put its output in place: the "
                                      "previous output is back in %1")
                                   .arg(Shown(priv)));
    }
    if (EntryKindOf(previous) != EntryKind::Missing) {
      if (const std::string left = RemoveEntry(previous); !left.empty()) {
        return trText("Run", "cannot remove %1, left by a run that was stopped: %2")
            .arg(Shown(previous))
            .arg(left);
      }
      notes.push_back(trText("Run", "removed %1, the output a stopped run had replaced")
                          .arg(Shown(previous)));
    }
  }
  std::error_code ec;
  fs::remove(layout_.stagedMarker(), ec);
  fs::remove(layout_.stagedRunRecord(), ec);
  if (EntryKindOf(staging) != EntryKind::Missing) {
    if (const std::string left = RemoveEntry(staging); !left.empty()) {
      return trText("Run", "cannot remove %1, left by a run that did not finish: %2")
          .arg(Shown(staging))
          .arg(left);
    }
    notes.push_back(
        trText("Run", "removed %1, left by a run that did not finish").arg(Shown(staging)));
  }
  return {};
}

std::string OutputClaim::claim(bool force, std::uint64_t bytesNeeded,
                               std::vector<std::string>& notes) {
  if (std::string refusal = checkRoot(); !refusal.empty()) return refusal;

  // One run at a time in an output root.
  OutputLock::Attempt lock = lock_.acquire(layout_.lockFile(), force);
  if (!lock.taken && lock.mayTakeOver && host_.confirmLockTakeover(layout_.lockFile(), lock.holder)) {
    lock = lock_.acquire(layout_.lockFile(), true);
  }
  if (!lock.note.empty()) notes.push_back(lock.note);
  if (!lock.taken) return lock.refusal;

  if (std::string refusal = cleanLeftovers(notes); !refusal.empty()) return refusal;

  const fs::path priv = layout_.privateFolder();
  std::error_code ec;
  if (EntryKindOf(priv) == EntryKind::Missing) {
    // A marker and a run record stand only beside a private/: this one was
    // moved away.
    fs::remove(layout_.marker(), ec);
    fs::remove(layout_.runRecord(), ec);
  } else {
    if (const fs::path foreign = FirstForeignEntry(priv); !foreign.empty()) {
      if (!force && !host_.confirmRemoval(priv, foreign)) {
        return trText("Run",
                      "%1 holds %2, which no run writes; nothing was removed (--force removes "
                      "it)")
            .arg(Shown(priv))
            .arg(Shown(foreign));
      }
    }
    // What no removal can take away refuses the run now, not after it.
    if (const fs::path mount = FirstMountPointInside(priv); !mount.empty()) {
      return trText("Run",
                    "cannot remove all of the previous output in %1: %2 is still there (%3); "
                    "nothing was written")
          .arg(Shown(priv))
          .arg(Shown(mount))
          .arg(trText("Run", "another file system is mounted there").str());
    }
  }

  const fs::space_info space = fs::space(layout_.root(), ec);
  if (!ec && space.available < bytesNeeded) {
    return trText("Run",
                  "not enough free space in %1: the output needs at least %2, %3 are free; "
                  "nothing was written")
        .arg(Shown(layout_.root()))
        .arg(DataSize(bytesNeeded))
        .arg(DataSize(space.available));
  }

  staged_ = layout_.staged();
  if (!fs::create_directory(staged_.privateFolder(), ec) || ec) {
    return trText("Run", "cannot create %1: %2")
        .arg(Shown(staged_.privateFolder()))
        .arg(ec ? ec.message() : std::string("exists"));
  }
  staging_ = true;
  return {};
}

std::string OutputClaim::commit(std::vector<std::string>& notes) {
  const fs::path priv = layout_.privateFolder();
  const fs::path staging = staged_.privateFolder();
  const fs::path previous = layout_.previousFolder();
  std::error_code ec;
  const bool hadPrevious = EntryKindOf(priv) != EntryKind::Missing;
  if (hadPrevious) {
    if (const std::string why = RenameReason(priv, previous); !why.empty()) {
      return trText("Run", "cannot move %1 aside: %2").arg(Shown(priv)).arg(why);
    }
  }
  // The marker stands only beside a complete private/: it goes while there
  // is none, and comes back with the new one (or the previous one).
  const bool hadMarker = EntryKindOf(layout_.marker()) == EntryKind::RegularFile;
  fs::remove(layout_.marker(), ec);
  if (const std::string why = RenameReason(staging, priv); !why.empty()) {
    if (hadPrevious && RenameReason(previous, priv).empty() && hadMarker) {
      CreateNewFile(layout_.marker(), {});
    }
    return trText("Run", "cannot put the new output in place of %1: %2").arg(Shown(priv)).arg(why);
  }
  staging_ = false;
  // The record of the previous private/ goes with it; the new one comes.
  fs::remove(layout_.runRecord(), ec);
  for (const auto& [staged, placed] : {std::pair(layout_.stagedRunRecord(), layout_.runRecord()),
                                       std::pair(layout_.stagedMarker(), layout_.marker())}) {
    if (EntryKindOf(staged) == EntryKind::Missing) continue;
    if (const std::string why = RenameReason(staged, placed); !why.empty()) {
      return trText("Run", "cannot create %1: %2").arg(Shown(placed)).arg(why);
    }
  }
  if (hadPrevious) {
    if (const std::string left = RemoveEntry(previous); !left.empty()) {
      notes.push_back(trText("Run", "cannot remove the previous output %1: %2; the next run removes it")
                          .arg(Shown(previous))
                          .arg(left));
    }
  }
  // The page described the previous private/.
  if (const std::string left = RemoveEntry(layout_.previewFolder()); !left.empty()) {
    notes.push_back(trText("Run", "cannot remove the preview of the previous output: %1").arg(left));
  }
  return {};
}

void OutputClaim::abandon() {
  if (staging_) {
    staging_ = false;
    RemoveEntry(staged_.privateFolder());
    std::error_code ec;
    fs::remove(layout_.stagedMarker(), ec);
    fs::remove(layout_.stagedRunRecord(), ec);
  }
  lock_.release();
}

}  // namespace tessel
