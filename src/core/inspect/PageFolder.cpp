#include "inspect/PageFolder.h"

#include <system_error>

#include "util/FileIO.h"
#include "util/Paths.h"
#include "util/Platform.h"
#include "util/Text.h"

namespace tessel::inspect {

namespace fs = std::filesystem;

namespace {

std::string Shown(const fs::path& path) { return Printable(PathToUtf8(path)); }

// What stands at `path`, as a refusal of a place the page wants.
std::string StandsThere(const fs::path& path, EntryKind kind) {
  switch (kind) {
    case EntryKind::Link:
      return trText("Inspect", "%1 is a link: the page is never written through a link")
          .arg(Shown(path));
    case EntryKind::Folder:
      return trText("Inspect", "%1 is a folder, where the page writes a file").arg(Shown(path));
    case EntryKind::Other:
      return trText("Inspect", "%1 is not a regular file (a FIFO or a device), where the page "
                               "writes a file")
          .arg(Shown(path));
    case EntryKind::Missing:
    case EntryKind::RegularFile: break;
  }
  return {};
}

}  // namespace

std::string MakePageFolder(const fs::path& folder) {
  const EntryKind kind = EntryKindOf(folder);
  if (kind == EntryKind::Folder) return {};
  if (kind == EntryKind::Link) return StandsThere(folder, kind);
  if (kind != EntryKind::Missing) {
    return trText("Inspect", "%1 is not a folder").arg(Shown(folder));
  }
  std::error_code ec;
  fs::create_directories(folder, ec);
  if (EntryKindOf(folder) != EntryKind::Folder) {
    return ec ? trText("Inspect", "cannot create %1 (%2)").arg(Shown(folder)).arg(ec.message()).str()
              : trText("Inspect", "cannot create %1").arg(Shown(folder)).str();
  }
  return {};
}

std::string PageFileProblem(const fs::path& file) { return StandsThere(file, EntryKindOf(file)); }

bool WritePageFile(const fs::path& file, ByteView bytes, std::string* error) {
  if (std::string problem = PageFileProblem(file); !problem.empty()) {
    if (error) *error = std::move(problem);
    return false;
  }
  std::string why;
  if (WriteFile(file, {bytes}, &why)) return true;
  if (error) *error = trText("Inspect", "cannot write %1: %2").arg(Shown(file)).arg(why);
  return false;
}

}  // namespace tessel::inspect
