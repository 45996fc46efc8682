#include "icon/IconConvert.h"

#include "util/OrderedPool.h"
#include "util/Text.h"

namespace tessel {

namespace {

// Writes what a library was built into, in the run's order.
void writeIconLibrary(const BuiltIconLibrary& built, const IconLibraryJob& job,
                      const OutputLayout& layout, OutputWriter& out) {
  Report& report = out.report();
  if (built.missing || built.abandoned) {
    const std::string why = built.warnings.empty() ? trText("Icon", "cannot read it").str()
                                                : built.warnings.front();
    report.setFate(job.path, InputFate::Skipped, why);
  }
  for (const std::string& w : built.warnings) out.warn(w, job.path);
  if (built.missing || built.abandoned) return;
  if (built.toPictures) {
    report.pictureLibraryIcons += built.iconsFound;
    for (const IconPicture& picture : built.pictures) {
      const fs::path file = layout.pictureFile(picture.id, picture.extension);
      if (out.write(file, ByteView(picture.file(built.pictures)))) {
        ++report.picturesWritten;
        report.madeFrom(job.path, file);
      }
    }
    if (built.pictures.empty()) {
      report.setFate(job.path, InputFate::Skipped,
                     trText("Icon", "the picture library holds no picture that converts"));
    }
    return;
  }
  const fs::path zico = layout.iconFile(job.number);
  if (WriteZico(out, zico, built.zico.records(), ByteView(built.zico.dataArea()))) {
    report.iconsWritten += static_cast<int>(built.zico.size());
    report.madeFrom(job.path, zico);
    if (OutputRecord* record = report.output(zico)) record->icons = static_cast<int>(built.zico.size());
  }
}

}  // namespace

void ConvertIconLibraries(const std::vector<IconLibraryJob>& jobs,
                          const PictureEncoding& encoding, const OutputLayout& layout,
                          OutputWriter& out, int threads, const WorkLimits& work) {
  forEachOrdered<BuiltIconLibrary>(
      static_cast<int>(jobs.size()), threads,
      [&](int i) {
        // A stopped run or a failed write: the rest is left unbuilt.
        if (out.halted()) return BuiltIconLibrary{};
        return BuildIconLibrary(encoding, jobs[std::size_t(i)], work);
      },
      [&](int i, BuiltIconLibrary&& built) {
        if (!out.halted()) writeIconLibrary(built, jobs[std::size_t(i)], layout, out);
      });
}

}  // namespace tessel
