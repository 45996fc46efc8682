#include "icon/IconConvert.h"

#include "util/OrderedPool.h"

namespace tessel {

namespace {

// Writes what a library was built into, in the run's order.
void writeIconLibrary(const BuiltIconLibrary& built, const IconLibraryJob& job,
                      const OutputLayout& layout, OutputWriter& out) {
  for (const std::string& w : built.warnings) out.warn(w);
  if (built.missing || built.abandoned) return;
  Report& report = out.report();
  if (built.toPictures) {
    for (const IconPicture& picture : built.pictures) {
      if (out.write(layout.pictureFile(picture.id, picture.extension), ByteView(picture.bytes))) {
        ++report.picturesWritten;
      }
    }
    return;
  }
  if (WriteZico(out, layout.iconFile(job.number), built.zico.records(),
                ByteView(built.zico.dataArea()))) {
    report.iconsWritten += static_cast<int>(built.zico.size());
  }
}

}  // namespace

void ConvertIconLibraries(const std::vector<IconLibraryJob>& jobs,
                          const PictureEncoding& encoding, const OutputLayout& layout,
                          OutputWriter& out, int threads) {
  forEachOrdered<BuiltIconLibrary>(
      static_cast<int>(jobs.size()), threads,
      [&](int i) { return BuildIconLibrary(encoding, jobs[std::size_t(i)]); },
      [&](int i, BuiltIconLibrary&& built) {
        writeIconLibrary(built, jobs[std::size_t(i)], layout, out);
      });
}

}  // namespace tessel
