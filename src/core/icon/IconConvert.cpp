#include "icon/IconConvert.h"

#include <functional>

#include "util/OrderedPool.h"
#include "util/Text.h"

namespace tessel {

namespace {

// Writes what a library was built into, in the run's order.
void WriteIconLibrary(const BuiltIconLibrary& built, const IconLibraryJob& job,
                      const OutputLayout& layout, OutputWriter& out,
                      const std::function<void(const fs::path&)>& written) {
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
  const bool done = built.reused
                        ? out.write(zico, ByteView(built.reusedFile))
                        : WriteZico(out, zico, built.zico.records(), ByteView(built.zico.dataArea()));
  if (done) {
    const int icons = built.reused ? built.reusedIcons : static_cast<int>(built.zico.size());
    report.iconsWritten += icons;
    report.madeFrom(job.path, zico);
    if (OutputRecord* record = report.output(zico)) record->icons = icons;
    written(zico);
  }
}

}  // namespace

void ConvertIconLibraries(const std::vector<IconLibraryJob>& jobs,
                          const PictureEncoding& encoding, const OutputLayout& layout,
                          OutputWriter& out, int threads, const WorkLimits& work,
                          IconLibraryReuse* reuse) {
  ForEachOrdered<BuiltIconLibrary>(
      static_cast<int>(jobs.size()), threads,
      [&](int i) {
        // A stopped run or a failed write: the rest is left unbuilt.
        if (out.halted()) return BuiltIconLibrary{};
        const std::size_t job = std::size_t(i);
        if (!reuse) return BuildIconLibrary(encoding, jobs[job], work);
        BuiltIconLibrary built = BuildIconLibrary(
            encoding, jobs[job], work,
            [&](ByteView data, std::uint64_t size, BuiltIconLibrary& taken) {
              return reuse->take(job, data, size, taken);
            });
        if (!built.reused) reuse->built(job, built);
        return built;
      },
      [&](int i, BuiltIconLibrary&& built) {
        if (out.halted()) return;
        WriteIconLibrary(built, jobs[std::size_t(i)], layout, out, [&](const fs::path& zico) {
          if (reuse) reuse->written(std::size_t(i), zico, built.reused);
        });
      });
}

}  // namespace tessel
