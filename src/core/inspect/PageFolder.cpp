#include "inspect/PageFolder.h"

#include <system_error>

#include "util/FileIO.h"
#include "util/Paths.h"
#include "util/Platform.h"
#include "util/Text.h"

namespace tessel::inspect {

namespace fs = std::filesystem;

namespace {

std::string shown(const fs::path& path) { return printable(pathToUtf8(path)); }

// What stands at `path`, as a refusal of a place the page wants.
std::string standsThere(const fs::path& path, EntryKind kind) {
  switch (kind) {
    case EntryKind::Link:
      return trText("Inspect", "%1 is a link: the page is never written through a link")
          .arg(shown(path));
    case EntryKind::Folder:
      return trText("Inspect", "%1 is a folder, where the page writes a file").arg(shown(path));
    case EntryKind::Other:
      return trText("Inspect", "%1 is not a regular file (a FIFO or a device), where the page "
                               "writes a file")
          .arg(shown(path));
    case EntryKind::Missing:
    case EntryKind::RegularFile: break;
  }
  return {};
}

}  // namespace

std::string MakePageFolder(const fs::path& folder) {
  const EntryKind kind = entryKind(folder);
  if (kind == EntryKind::Folder) return {};
  if (kind == EntryKind::Link) return standsThere(folder, kind);
  if (kind != EntryKind::Missing) {
    return trText("Inspect", "%1 is not a folder").arg(shown(folder));
  }
  std::error_code ec;
  fs::create_directories(folder, ec);
  if (entryKind(folder) != EntryKind::Folder) {
    return ec ? trText("Inspect", "cannot create %1 (%2)").arg(shown(folder)).arg(ec.message()).str()
              : trText("Inspect", "cannot create %1").arg(shown(folder)).str();
  }
  return {};
}

std::string PageFileProblem(const fs::path& file) { return standsThere(file, entryKind(file)); }

bool WritePageFile(const fs::path& file, ByteView bytes, std::string* error) {
  if (std::string problem = PageFileProblem(file); !problem.empty()) {
    if (error) *error = std::move(problem);
    return false;
  }
  std::string why;
  if (writeFile(file, {bytes}, &why)) return true;
  if (error) *error = trText("Inspect", "cannot write %1: %2").arg(shown(file)).arg(why);
  return false;
}

}  // namespace tessel::inspect
