#include "convert/OutputLock.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <chrono>
#include <map>
#include <sstream>
#include <system_error>

#include "util/Paths.h"
#include "util/Platform.h"
#include "util/Text.h"

namespace tessel {

namespace fs = std::filesystem;

namespace {

std::int64_t NowSeconds() {
  return std::chrono::duration_cast<std::chrono::seconds>(
             std::chrono::system_clock::now().time_since_epoch())
      .count();
}

// This program's name as ProcessProgramName tells it to another process.
std::string ProgramName() {
  if (std::string name = ProcessProgramName(CurrentProcessId()); !name.empty()) return name;
  const QString path = QCoreApplication::applicationFilePath();
  return path.isEmpty() ? std::string("tessel") : QFileInfo(path).fileName().toStdString();
}

// What a lock file says of its holder.
struct Holder {
  std::int64_t pid = 0;
  std::string host, program;
  std::int64_t started = 0;  // seconds since the epoch; 0 when not given
};

std::string LockText() {
  std::ostringstream text;
  text << "tessel-lock 1\npid=" << CurrentProcessId() << "\nhost=" << MachineName()
       << "\nprogram=" << ProgramName() << "\nstarted=" << NowSeconds() << '\n';
  return text.str();
}

std::optional<Holder> ParseLock(const std::string& text) {
  std::map<std::string, std::string> fields;
  std::istringstream lines(text);
  for (std::string line; std::getline(lines, line);) {
    if (const auto eq = line.find('='); eq != std::string::npos) {
      fields[line.substr(0, eq)] = line.substr(eq + 1);
    }
  }
  Holder holder;
  try {
    holder.pid = std::stoll(fields.at("pid"));
    holder.host = fields.at("host");
    if (fields.count("started")) holder.started = std::stoll(fields["started"]);
  } catch (const std::exception&) {
    return std::nullopt;
  }
  holder.program = fields["program"];
  if (holder.pid <= 0 || holder.host.empty()) return std::nullopt;
  return holder;
}

// How long ago the lock was taken: its own word, else the file's time.
std::int64_t AgeSeconds(const Holder& holder, const fs::path& path) {
  std::int64_t started = holder.started;
  if (started <= 0) {
    const QFileInfo info(ToQString(path));
    started = info.lastModified().toSecsSinceEpoch();
  }
  return std::max<std::int64_t>(0, NowSeconds() - started);
}

std::string AgeText(std::int64_t seconds) {
  return trText("Lock", "%1 min ago").arg(seconds / 60);
}

}  // namespace

OutputLock::Attempt OutputLock::acquire(const fs::path& path, bool takeOver) {
  release();
  Attempt attempt;
  const std::string name = Printable(PathToUtf8(path));
  // Two tries: the second after a stale lock was removed.
  for (int tries = 0; tries < 2; ++tries) {
    std::string error;
    bool exists = false;
    if (CreateNewFile(path, LockText(), &error, &exists)) {
      path_ = path;
      held_ = true;
      attempt.taken = true;
      return attempt;
    }
    if (!exists) {
      attempt.refusal =
          trText("Lock", "cannot create the output lock %1: %2").arg(name).arg(error);
      return attempt;
    }
    if (tries > 0) break;  // another run took it meanwhile

    const EntryKind kind = EntryKindOf(path);
    if (kind == EntryKind::Missing) continue;  // gone meanwhile: try again
    if (kind != EntryKind::RegularFile) {
      // Never opened: a FIFO would block, a link lead elsewhere.
      Text why = kind == EntryKind::Folder
                     ? trText("Lock",
                              "the output lock %1 is a folder, not a lock file; remove it if no "
                              "run is writing there")
                 : kind == EntryKind::Link
                     ? trText("Lock",
                              "the output lock %1 is a link, not a lock file; remove it if no run "
                              "is writing there")
                     : trText("Lock",
                              "the output lock %1 is not a regular file; remove it if no run is "
                              "writing there");
      attempt.refusal = why.arg(name);
      return attempt;
    }

    std::string readError;
    const std::optional<std::string> text = ReadSmallFile(path, 4096, &readError);
    std::string stale;  // why the lock is stale; empty while it holds
    const std::optional<Holder> holder = text ? ParseLock(*text) : std::nullopt;
    if (!text) {
      stale = trText("Lock", "unreadable: %1").arg(readError);
    } else if (text->empty()) {
      stale = trText("Lock", "empty");
    } else if (!holder) {
      stale = trText("Lock", "not a lock this program wrote");
    } else if (holder->host == MachineName()) {
      ProcessState state = ProcessStateOf(holder->pid);
      if (state == ProcessState::Running && !holder->program.empty()) {
        // A process id reused by another program does not hold the lock.
        const std::string running = ProcessProgramName(holder->pid);
        if (!running.empty() && running != holder->program) state = ProcessState::Gone;
      }
      if (state == ProcessState::Gone) {
        stale = trText("Lock", "process %1 on %2 has ended").arg(holder->pid).arg(holder->host);
      } else if (state == ProcessState::Running) {
        attempt.refusal = trText("Lock",
                                 "another run is writing into this output (process %1 on %2, "
                                 "lock file %3); try again when it has finished")
                              .arg(holder->pid)
                              .arg(holder->host)
                              .arg(name);
        return attempt;
      } else if (!takeOver) {
        attempt.mayTakeOver = true;
        attempt.holder = trText("Lock", "process %1 on %2").arg(holder->pid).arg(holder->host);
        attempt.refusal = trText("Lock",
                                 "the output lock %1 names process %2 on %3, which cannot be "
                                 "checked from here; nothing was written")
                              .arg(name)
                              .arg(holder->pid)
                              .arg(holder->host);
        return attempt;
      } else {
        stale = trText("Lock", "taken over from process %1 on %2").arg(holder->pid).arg(holder->host);
      }
    } else {
      const std::int64_t age = AgeSeconds(*holder, path);
      if (age >= kForeignLockSeconds) {
        stale = trText("Lock", "left by process %1 on %2 %3")
                    .arg(holder->pid)
                    .arg(holder->host)
                    .arg(AgeText(age));
      } else if (!takeOver) {
        attempt.mayTakeOver = true;
        attempt.holder = trText("Lock", "process %1 on %2, taken %3")
                             .arg(holder->pid)
                             .arg(holder->host)
                             .arg(AgeText(age));
        attempt.refusal = trText("Lock",
                                 "the output lock %1 was taken by process %2 on %3 %4; that "
                                 "machine's run cannot be checked from here, and its lock counts "
                                 "as stale after an hour; nothing was written")
                              .arg(name)
                              .arg(holder->pid)
                              .arg(holder->host)
                              .arg(AgeText(age));
        return attempt;
      } else {
        stale = trText("Lock", "taken over from process %1 on %2").arg(holder->pid).arg(holder->host);
      }
    }

    std::error_code ec;
    fs::remove(path, ec);
    if (ec) {
      attempt.refusal = trText("Lock", "cannot remove the stale output lock %1 (%2): %3")
                            .arg(name)
                            .arg(stale)
                            .arg(ec.message());
      return attempt;
    }
    attempt.note = trText("Lock", "removed the stale output lock %1: %2").arg(name).arg(stale);
  }
  attempt.refusal = trText("Lock",
                           "another run took the output lock %1 at the same moment; try again "
                           "when it has finished")
                        .arg(name);
  return attempt;
}

void OutputLock::release() {
  if (!held_) return;
  held_ = false;
  std::error_code ec;
  fs::remove(path_, ec);
}

}  // namespace tessel
