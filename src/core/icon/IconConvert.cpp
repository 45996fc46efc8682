#include "icon/IconConvert.h"

#include <string>
#include <vector>

#include "icon/IconBuild.h"
#include "util/FileIO.h"
#include "util/OrderedPool.h"
#include "util/Paths.h"

namespace tessel {

namespace {

// A Branch B project configured by a T5UIC block file keeps every icon
// library in the T5UIC layout. Only the configuration file's own name is
// looked at, so a folder named like it does not count.
bool isT5uicConfig(const fs::path& t5Config) {
  if (t5Config.empty()) return false;
  return asciiLower(pathToUtf8(t5Config.filename())).find("t5uic") != std::string::npos;
}

bool isIclFile(const fs::path& path) {
  return asciiLower(pathToUtf8(path.extension())) == ".icl";
}

// Writes what a library was built into, in the run's order.
void writeIconLibrary(const BuiltIconLibrary& built, const fs::path& zicoPath,
                      const fs::path& pictureFolder, Report& report) {
  for (const std::string& w : built.warnings) report.warn(w);
  if (built.missing || built.abandoned) return;
  if (built.toPictures) {
    for (const IconPicture& picture : built.pictures) {
      const fs::path target = pictureFolder / (std::to_string(picture.id) + picture.extension);
      if (writeOutput(report, target, ByteView(picture.bytes))) ++report.picturesWritten;
    }
    return;
  }
  if (WriteZico(report, zicoPath, built.zico.records(), ByteView(built.zico.dataArea()))) {
    report.iconsWritten += static_cast<int>(built.zico.size());
  }
}

}  // namespace

void ConvertIconLibraries(const ConversionSettings& settings, const SourceInventory& inventory,
                          Branch branch, const std::filesystem::path& privateFolder,
                          Session& session, Report& report) {
  ConvertIconLibraries(settings, inventory, branch, privateFolder, session, report, 1);
}

void ConvertIconLibraries(const ConversionSettings& settings, const SourceInventory& inventory,
                          Branch branch, const std::filesystem::path& privateFolder,
                          Session& session, Report& report, int jobs) {
  // First decide, in listing order, how each library is converted: this is
  // where the picture-library rule reads and changes the session.
  struct Planned {
    IconLibraryJob job;
    fs::path zicoPath;
    fs::path pictureFolder;
  };
  std::vector<Planned> plan;
  plan.reserve(inventory.icons.size());
  const bool t5uic = branch == Branch::B && isT5uicConfig(inventory.t5Config);
  for (const fs::path& path : inventory.icons) {
    Planned planned;
    const int n = FileNumber(path);
    planned.zicoPath = privateFolder / "icon" / (std::to_string(n) + ".zico");
    planned.job.path = path;
    if (t5uic) {
      // The picture-library rule does not apply: the session is left alone.
      planned.job.layout = IconLayout::T5uic;
    } else {
      // 0xFFFF means "no picture library", so a library numbered 65535 is
      // never taken for one.
      if (session.pictureLibraryNumber != kNoPictureLibrary &&
          n == static_cast<int>(session.pictureLibraryNumber)) {
        session.pictureLibraryNumber = kNoPictureLibrary;
        session.pictureLibraryFolder = privateFolder / "image";
      } else {
        session.pictureLibraryFolder.clear();
      }
      planned.job.layout = isIclFile(path) ? IconLayout::Icl : IconLayout::Raw;
      // A raw library keeps its .zico even as the picture library; its
      // number is used up all the same.
      planned.job.toPictures =
          planned.job.layout == IconLayout::Icl && !session.pictureLibraryFolder.empty();
      planned.job.rotation = session.iconRotation;
      planned.pictureFolder = session.pictureLibraryFolder;
    }
    plan.push_back(std::move(planned));
  }

  // Then build the libraries (possibly side by side) and write them in
  // listing order, so that of two libraries with one number the later one's
  // file stays.
  forEachOrdered<BuiltIconLibrary>(
      static_cast<int>(plan.size()), jobs,
      [&](int i) { return BuildIconLibrary(settings, plan[std::size_t(i)].job); },
      [&](int i, BuiltIconLibrary&& built) {
        const Planned& planned = plan[std::size_t(i)];
        writeIconLibrary(built, planned.zicoPath, planned.pictureFolder, report);
      });
}

}  // namespace tessel
