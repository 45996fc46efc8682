#include "inspect/Inspection.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>
#include <system_error>
#include <thread>
#include <tuple>

#include "model/OutputLayout.h"
#include "model/SourceInventory.h"
#include "picture/PictureLoad.h"
#include "picture/PicturePack.h"
#include "picture/MemoryBudget.h"
#include "picture/PictureIntegrity.h"
#include "picture/PicturePipeline.h"
#include "util/FileIO.h"
#include "util/OrderedPool.h"
#include "util/Paths.h"
#include "util/QtMessages.h"
#include "util/Text.h"

namespace tessel::inspect {

namespace {

// The files of private/ the inspection names, as OutputLayout names them.
const std::string kPackIndexName =
    OutputLayout::inPrivate(OutputLayout::kBin, OutputLayout::kPackIndex);
const std::string kPackDataName =
    OutputLayout::inPrivate(OutputLayout::kBin, OutputLayout::kPackData);
const std::string kTruefontIniName =
    OutputLayout::inPrivate(OutputLayout::kTruefont, OutputLayout::kTruefontIni);

// A file of private/ and what is wrong with it.
std::string FileProblem(const std::string& file, const std::string& problem) {
  //: a file of the output, and what is wrong with it
  return trText("Inspect", "%1: %2").arg(file).arg(problem);
}

// A file of private/ read whole, or the reason it cannot be.
struct FileBytes {
  Bytes bytes;
  std::uint64_t size = 0;
  std::string error;
};

FileBytes ReadWhole(const fs::path& path, std::uint64_t limit) {
  FileBytes f;
  std::error_code ec;
  if (!fs::is_regular_file(path, ec)) {
    f.error = fs::exists(path, ec) ? trText("Inspect", "it is not a regular file")
                                   : trText("Inspect", "it is missing");
    return f;
  }
  f.size = fs::file_size(path, ec);
  if (ec) {
    f.error = trText("Inspect", "its size cannot be read (%1)").arg(ec.message());
    return f;
  }
  if (f.size > limit) {
    f.error = LimitSentence({LimitKind::InspectedBytes, 0, 0, f.size, limit});
    return f;
  }
  std::optional<Bytes> bytes = ReadFile(path, limit);
  if (!bytes) {
    f.error = trText("Inspect", "it cannot be read");
    return f;
  }
  if (bytes->size() != f.size) {
    f.error = trText("Inspect", "it changed while it was read");
    return f;
  }
  f.bytes = std::move(*bytes);
  return f;
}

struct Named {
  int number;
  fs::path path;
  std::string relative;
};

// The numbered files of one folder of private/ ("image", "icon"); anything
// else there is a note.
std::vector<Named> ListNumbered(const fs::path& folder, const std::string& folderName,
                                const std::vector<std::string>& extensions,
                                std::vector<Problem>& problems) {
  std::vector<Named> out;
  std::error_code ec;
  if (!fs::is_directory(folder, ec)) return out;
  fs::directory_iterator it(folder, ec), end;
  if (ec) {
    problems.push_back({trText("Inspect", "%1/: cannot be listed (%2)")
                            .arg(folderName)
                            .arg(ec.message()),
                        true});
    return out;
  }
  for (; it != end; it.increment(ec)) {
    const std::string name = PathToUtf8(it->path().filename());
    const std::string relative = OutputLayout::inPrivate(folderName, name);
    std::optional<int> number;
    for (const std::string& extension : extensions) {
      if (!number) number = OutputLayout::numberOfName(name, extension);
    }
    if (!number) {
      const std::string expected =
          extensions.size() == 1
              ? "N" + extensions[0]
              : trText("Inspect", "N%1 or N%2").arg(extensions[0]).arg(extensions[1]).str();
      problems.push_back(
          {trText("Inspect", "%1: not a name the display reads (%2)").arg(relative).arg(expected),
           false});
      continue;
    }
    out.push_back({*number, it->path(), relative});
  }
  if (ec) {
    problems.push_back(
        {trText("Inspect", "%1/: cannot be listed (%2)").arg(folderName).arg(ec.message()), true});
  }
  std::sort(out.begin(), out.end(), [](const Named& a, const Named& b) {
    return a.number != b.number ? a.number < b.number : a.relative < b.relative;
  });
  for (std::size_t i = 1; i < out.size(); ++i) {
    if (out[i].number == out[i - 1].number) {
      problems.push_back(
          {trText("Inspect", "%1: picture %2 is also %3; the display shows only one")
               .arg(out[i].relative)
               .arg(out[i].number)
               .arg(out[i - 1].relative),
           false});
    }
  }
  return out;
}

int WorkerCount(int jobs) {
  return jobs > 0 ? jobs : static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
}

// Where the sources are: the run record's names, or a source folder's files
// by number.
struct Sources {
  const RunRecord* record = nullptr;
  fs::path folder;
  std::map<int, std::string> pictures;   // number -> file name (without a record)
  std::map<int, std::string> libraries;

  Origin originOf(const std::string& output, int number, bool library) const {
    Origin origin;
    if (record) {
      if (const RecordOutput* o = record->find(output); o && !o->sources.empty()) {
        origin.file = o->sources.front().file;
        origin.icon = o->sources.front().icon;
        origin.replaced = o->replaced;
        origin.rotation = o->rotation;
      }
      return origin;
    }
    const auto& byNumber = library ? libraries : pictures;
    if (const auto it = byNumber.find(number); it != byNumber.end()) origin.file = it->second;
    return origin;
  }
};

Sources FindSources(const RunRecord* record, const fs::path& folder) {
  Sources s;
  s.record = record;
  s.folder = folder;
  std::error_code ec;
  if (record || folder.empty() || !fs::is_directory(folder, ec)) return s;
  std::vector<std::string> names;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    if (it->is_regular_file(ec)) names.push_back(PathToUtf8(it->path().filename()));
  }
  std::sort(names.begin(), names.end());
  for (const std::string& name : names) {
    const std::string ext = AsciiLower(PathToUtf8(PathFromUtf8(name).extension()));
    const int number = FileNumber(PathFromUtf8(name));
    if (ext == ".bmp" || ext == ".jpg" || ext == ".jpeg") s.pictures.emplace(number, name);
    if (ext == ".icl" || ext == ".ico") s.libraries.emplace(number, name);
  }
  return s;
}

// PSNR and the largest channel error of `output` against `source`, both
// the same size.
Loss MeasureLoss(const QImage& output, const QImage& source) {
  Loss loss;
  if (output.size() != source.size() || output.isNull()) return loss;
  const QImage a = output.convertToFormat(QImage::Format_RGB32);
  const QImage b = source.convertToFormat(QImage::Format_RGB32);
  const int w = a.width();
  std::uint64_t squares = 0;
  int most = 0;
  for (int y = 0; y < a.height(); ++y) {
    const QRgb* p = reinterpret_cast<const QRgb*>(a.constScanLine(y));
    const QRgb* q = reinterpret_cast<const QRgb*>(b.constScanLine(y));
    std::uint64_t rowSquares = 0;
    for (int x = 0; x < w; ++x) {
      const int dr = int((p[x] >> 16) & 0xFF) - int((q[x] >> 16) & 0xFF);
      const int dg = int((p[x] >> 8) & 0xFF) - int((q[x] >> 8) & 0xFF);
      const int db = int(p[x] & 0xFF) - int(q[x] & 0xFF);
      rowSquares += std::uint64_t(dr * dr + dg * dg + db * db);
      most = std::max(most, std::max(std::abs(dr), std::max(std::abs(dg), std::abs(db))));
    }
    squares += rowSquares;
  }
  loss.maxError = most;
  const double mse = double(squares) / (3.0 * a.width() * a.height());
  loss.psnr = mse == 0 ? std::numeric_limits<double>::infinity()
                       : 10.0 * std::log10(255.0 * 255.0 / mse);
  loss.measured = true;
  return loss;
}

// Compares a lossy picture with its source file, turned as the run turned it
// (unknown without a record: whichever turn fits best), and hands the
// turned source to the sink.
void CompareWithSource(PictureItem& item, const QImage& decoded, const Sources& sources,
                       ImageSink* sink, const Limits& limits) {
  if (item.origin.file.empty() || item.origin.icon >= 0 || sources.folder.empty()) return;
  const LoadedPicture loaded =
      LoadPicture(sources.folder / PathFromUtf8(item.origin.file), limits);
  if (!loaded.ok()) return;
  std::vector<int> codes;
  if (item.origin.rotation >= 0) {
    codes = {item.origin.rotation};
  } else if (loaded.image.size() == decoded.size()) {
    codes = {0, 2};
  } else {
    codes = {1, 3};
  }
  QImage best;
  for (const int code : codes) {
    QImage turned = RotatePicture(loaded.image, code);
    const Loss loss = MeasureLoss(decoded, turned);
    if (loss.measured && (!item.loss.measured || loss.psnr > item.loss.psnr)) {
      item.loss = loss;
      best = std::move(turned);
    }
  }
  if (sink && !best.isNull()) sink->source(item, best);
}

// What one worker found about one item.
template <typename Item>
struct Found {
  Item item;
  std::vector<Problem> problems;
};

// What a picture file of the output costs in flight, from its header: the
// file, and its pixels when the size is one the converter takes.
std::uint64_t PictureShare(ByteView file, bool zbmp, const Limits& limits) {
  std::uint64_t width = 0, height = 0;
  if (zbmp && file.size() >= 4) {
    width = GetLe16(file.data());
    height = GetLe16(file.data() + 2);
  } else if (!zbmp) {
    std::tie(width, height) = DeclaredPictureSize(file);
  }
  const std::uint64_t pixels = PictureSizeAllowed(limits, width, height) ? width * height : 0;
  return file.size() + pixels * kBytesPerPixelInFlight;
}

void InspectPictures(const OutputLayout& layout, ImageSink* sink, int jobs, const Sources& sources,
              const WorkLimits& work, Inspection& out) {
  const Limits& limits = work.limits();
  const std::vector<Named> files =
      ListNumbered(layout.imageFolder(), OutputLayout::kImage,
                   {OutputLayout::kZbmp, OutputLayout::kJpg}, out.problems);
  ForEachOrdered<Found<PictureItem>>(
      static_cast<int>(files.size()), jobs,
      [&](int i) {
        const Named& file = files[static_cast<std::size_t>(i)];
        Found<PictureItem> found;
        PictureItem& item = found.item;
        item.number = file.number;
        item.file = file.relative;
        const bool zbmp = file.relative.ends_with(OutputLayout::kZbmp);
        item.format = zbmp ? "zbmp" : "JPEG";
        const FileBytes bytes = ReadWhole(file.path, limits.inspectedPictureBytes);
        item.bytes = bytes.size;
        if (!bytes.error.empty()) {
          found.problems.push_back({FileProblem(file.relative, bytes.error), true});
          return found;
        }
        item.lossy = !zbmp;
        item.origin = sources.originOf(file.relative, file.number, false);
        // Decoded (and written to the page) within the converter's memory
        // budget: a share of what its header declares, taken before inflating.
        const MemoryShare share(work.budget(), PictureShare(ByteView(bytes.bytes), zbmp, limits));
        MessageCatch said;  // what the image readers say is a note of this file
        PictureReading reading = zbmp ? ReadZbmp(bytes.bytes, sink != nullptr, limits)
                                      : ReadOutputJpeg(bytes.bytes, limits);
        for (const std::string& message : said.take()) {
          found.problems.push_back({FileProblem(file.relative, message), false});
        }
        item.width = reading.width;
        item.height = reading.height;
        if (zbmp) {
          item.format = reading.compressed ? trText("Inspect", "zbmp, zlib")
                                           : trText("Inspect", "zbmp, raw");
        }
        item.ok = reading.ok();
        if (!item.ok) {
          found.problems.push_back({FileProblem(file.relative, reading.error), true});
        } else {
          if (item.lossy) CompareWithSource(item, reading.image, sources, sink, limits);
          if (sink && !reading.image.isNull() &&
              !(item.lossy && sink->jpeg(item, ByteView(bytes.bytes)))) {
            sink->picture(item, reading.image);
          }
        }
        return found;
      },
      [&](int, Found<PictureItem>&& found) {
        out.pictures.push_back(std::move(found.item));
        for (Problem& p : found.problems) out.problems.push_back(std::move(p));
      });
}

void InspectLibraries(const OutputLayout& layout, ImageSink* sink, int jobs, const Sources& sources,
               const WorkLimits& work, Inspection& out) {
  const std::vector<Named> files =
      ListNumbered(layout.iconFolder(), OutputLayout::kIcon, {OutputLayout::kZico}, out.problems);
  ForEachOrdered<Found<LibraryItem>>(
      static_cast<int>(files.size()), jobs,
      [&](int i) {
        const Named& file = files[static_cast<std::size_t>(i)];
        Found<LibraryItem> found;
        LibraryItem& library = found.item;
        library.number = file.number;
        library.file = file.relative;
        library.origin = sources.originOf(file.relative, file.number, true);
        const FileBytes bytes = ReadWhole(file.path, work.limits().inspectedLibraryBytes);
        library.bytes = bytes.size;
        if (!bytes.error.empty()) {
          found.problems.push_back({FileProblem(file.relative, bytes.error), true});
          return found;
        }
        // Each icon goes to the page as it is decoded, never all at once.
        ZicoReading reading = ReadZico(
            bytes.bytes, sink != nullptr, work,
            [&](std::size_t entry, const ZicoRecord& rec, const QImage& image) {
              sink->icon(library,
                         {static_cast<int>(entry), rec.id, rec.width, rec.height, rec.dataSize,
                          true},
                         image);
            });
        library.ok = reading.ok();
        library.empty = reading.empty;
        if (reading.empty) {
          found.problems.push_back(
              {trText("Inspect", "%1: it is empty, the library has no icons").arg(file.relative),
               false});
        }
        if (!reading.error.empty()) {
          found.problems.push_back({FileProblem(file.relative, reading.error), true});
        }
        for (std::size_t e = 0; e < reading.icons.size(); ++e) {
          const ZicoIcon& icon = reading.icons[e];
          IconItem item{static_cast<int>(e), icon.record.id, icon.record.width, icon.record.height,
                        icon.record.dataSize, icon.error.empty()};
          library.icons.push_back(item);
          if (!icon.error.empty()) {
            found.problems.push_back({FileProblem(file.relative, icon.error), true});
          }
        }
        return found;
      },
      [&](int, Found<LibraryItem>&& found) {
        out.libraries.push_back(std::move(found.item));
        for (Problem& p : found.problems) out.problems.push_back(std::move(p));
      });
}

void InspectPack(const OutputLayout& layout, ImageSink* sink, int jobs, const Sources& sources,
          const WorkLimits& work, Inspection& out) {
  const Limits& limits = work.limits();
  std::error_code ec;
  const bool hasIndex = fs::exists(layout.packIndex(), ec);
  const bool hasData = fs::exists(layout.packData(), ec);
  if (!hasIndex && !hasData) return;
  out.hasPack = true;
  const FileBytes index = ReadWhole(layout.packIndex(), limits.inspectedPackIndexBytes);
  const FileBytes data = ReadWhole(layout.packData(), limits.inspectedPackBytes);
  if (!index.error.empty()) {
    out.problems.push_back({FileProblem(kPackIndexName, index.error), true});
  }
  if (!data.error.empty()) {
    out.problems.push_back({FileProblem(kPackDataName, data.error), true});
  }
  if (!index.error.empty() || !data.error.empty()) return;
  PackReading reading = ReadPackIndex(index.bytes, data.bytes.size());
  for (const std::string& error : reading.errors) {
    out.problems.push_back({OutputLayout::inPrivate(OutputLayout::kBin, error), true});
  }
  std::vector<PackEntry>& entries = reading.entries;
  ForEachOrdered<Found<PictureItem>>(
      static_cast<int>(entries.size()), jobs,
      [&](int i) {
        PackEntry& entry = entries[static_cast<std::size_t>(i)];
        ReadPackEntry(entry, data.bytes, sink != nullptr || !sources.folder.empty(), limits);
        Found<PictureItem> found;
        PictureItem& item = found.item;
        item.number = entry.number;
        item.file = kPackDataName;
        item.format = entry.kind == kPackJpeg ? trText("Inspect", "pack, JPEG")
                                              : trText("Inspect", "pack, zlib rows");
        item.width = entry.width;
        item.height = entry.height;
        item.bytes = entry.length;
        item.ok = entry.error.empty();
        item.inPack = true;
        item.lossy = entry.kind == kPackJpeg;
        item.origin = sources.originOf(PackEntryKey(entry.number), entry.number, false);
        if (!item.ok) found.problems.push_back({FileProblem(kPackIndexName, entry.error), true});
        if (item.ok && item.lossy && !entry.image.isNull()) {
          CompareWithSource(item, entry.image, sources, sink, limits);
        }
        if (item.ok && sink && !entry.image.isNull() &&
            !(item.lossy &&
              sink->jpeg(item, ByteView(data.bytes).subspan(entry.address - packBaseAddress,
                                                            entry.length)))) {
          sink->picture(item, entry.image);
        }
        entry.image = QImage();
        return found;
      },
      [&](int, Found<PictureItem>&& found) {
        out.pictures.push_back(std::move(found.item));
        for (Problem& p : found.problems) out.problems.push_back(std::move(p));
      });
  out.pack = std::move(entries);
}

// config.txt as the run copied it from the source's register text: what the
// user wrote there is a note about the source, not a fault of the output.
bool CopiedFromSource(const Inspection& out) {
  if (!out.record) return false;
  const RecordOutput* o = out.record->find(OutputLayout::kConfigText);
  return o && !o->sources.empty() && o->sources.front().copied;
}

void InspectConfig(const OutputLayout& layout, const Limits& limits, Inspection& out) {
  std::error_code ec;
  if (!fs::exists(layout.configText(), ec)) {
    out.problems.push_back(
        {trText("Inspect", "config.txt: it is missing; the display keeps the settings it has"),
         false});
    return;
  }
  const FileBytes text = ReadWhole(layout.configText(), limits.inspectedTextBytes);
  if (!text.error.empty()) {
    out.problems.push_back({FileProblem(OutputLayout::kConfigText, text.error), true});
    return;
  }
  out.config = ReadConfigText(text.bytes);
  const bool copied = CopiedFromSource(out);
  const std::string noR2 = trText("Inspect", "it has no R2 line (the touch and screen flags)");
  for (const std::string& e : out.config->errors) {
    if (!copied) {
      out.problems.push_back({FileProblem(OutputLayout::kConfigText, e), true});
    } else if (e == noR2) {
      out.problems.push_back(
          {FileProblem(OutputLayout::kConfigText, trText("Inspect",
                                            "the source's register text sets no R2: the display "
                                            "keeps its own touch and screen flags")),
           false});
    } else {
      out.problems.push_back(
          {FileProblem(OutputLayout::kConfigText,
                       trText("Inspect", "copied unchanged from the source's register text: %1")
                           .arg(e)),
           false});
    }
  }
  for (const std::string& e : out.config->notes) {
    out.problems.push_back({FileProblem(OutputLayout::kConfigText, e), false});
  }
}

void InspectFont(const OutputLayout& layout, const Limits& limits, Inspection& out) {
  std::error_code ec;
  out.font.present = fs::is_directory(layout.truefontFolder(), ec);
  if (!out.font.present) {
    out.problems.push_back(
        {trText("Inspect", "truefont/: it is missing; the display has no font"), true});
    return;
  }
  const FileBytes ini = ReadWhole(layout.truefontIni(), limits.inspectedTextBytes);
  if (!ini.error.empty()) {
    out.problems.push_back({FileProblem(kTruefontIniName, ini.error), true});
    return;
  }
  const TruefontIni reading = ReadTruefontIni(ini.bytes);
  if (!reading.error.empty()) {
    out.problems.push_back({FileProblem(kTruefontIniName, reading.error), true});
    return;
  }
  out.font.file = reading.font;
  const std::string relative = OutputLayout::inPrivate(OutputLayout::kTruefont, reading.font);
  const FileBytes file =
      ReadWhole(layout.truefontFolder() / PathFromUtf8(reading.font), limits.inspectedFontBytes);
  out.font.bytes = file.size;
  if (!file.error.empty()) {
    out.problems.push_back(
        {trText("Inspect", "%1 (named by truefont.ini): %2").arg(relative).arg(file.error), true});
    return;
  }
  std::string why;
  if (const std::optional<std::string> name = ReadFontName(file.bytes, why)) {
    out.font.name = *name;
  } else {
    out.problems.push_back({FileProblem(relative, why), true});
  }
}

}  // namespace

int Inspection::faults() const {
  return static_cast<int>(
      std::count_if(problems.begin(), problems.end(), [](const Problem& p) { return p.fault; }));
}

Inspection InspectOutput(const fs::path& path, ImageSink* sink, int jobs) {
  InspectOptions options;
  options.jobs = jobs;
  return InspectOutput(path, sink, options);
}

Inspection InspectOutput(const fs::path& path, ImageSink* sink, const InspectOptions& options) {
  const QtMessageRoute readerMessages;  // the image readers' messages go to their files
  Inspection out;
  std::error_code ec;
  fs::path root;
  bool fromRoot = false;
  if (OutputLayout::isOutputRoot(path)) {
    root = path;
    fromRoot = true;
  } else if (!OutputLayout::looksLikePrivateFolder(path)) {
    out.problems.push_back({trText("Inspect",
                                   "%1: no output here (neither a private/ folder nor "
                                   "config.txt, image/, icon/, truefont/ or bin/)")
                                .arg(PathToUtf8(path)),
                            true});
    return out;
  }
  out.privateFolder = fromRoot ? OutputLayout(root).privateFolder() : path;
  const OutputLayout use = OutputLayout::ofPrivateFolder(out.privateFolder);
  if (fromRoot && !fs::exists(OutputLayout(root).marker(), ec)) {
    // A stopped or killed run; a bare private/ (a card's copy) has no marker.
    out.incomplete = true;
    out.problems.push_back(
        {trText("Inspect",
                "private/: incomplete: the run that wrote it did not finish (there is no %1 "
                "beside it)")
             .arg(kMarkerFileName),
         true});
  } else if (fromRoot) {
    std::string why;
    out.record = ReadRunRecord(root, why);
    if (!why.empty()) {
      out.problems.push_back(
          {trText("Inspect", "%1: %2; the sources are not named").arg(kRunRecordFileName).arg(why),
           false});
    }
  }
  out.sourceFolder = options.source;
  if (out.sourceFolder.empty() && out.record) out.sourceFolder = PathFromUtf8(out.record->source);
  const int jobs = WorkerCount(options.jobs);
  // The inspection's limits, and the memory budget its workers share.
  const WorkLimits work(options.limits);
  InspectFont(use, options.limits, out);
  InspectConfig(use, options.limits, out);
  if (options.rotation) {
    out.displayRotation = *options.rotation & 3;
    out.rotationFrom = RotationFrom::Option;
  } else if (out.config && std::any_of(out.config->registers.begin(), out.config->registers.end(),
                                       [](const RegisterLine& r) { return r.name == "R2"; })) {
    out.displayRotation = out.config->values.screenRotation & 3;
    out.rotationFrom = RotationFrom::Config;
  }
  if (sink) sink->displayRotation(out.displayRotation);
  const Sources sources = FindSources(out.record ? &*out.record : nullptr, out.sourceFolder);
  InspectPictures(use, sink, jobs, sources, work, out);
  InspectPack(use, sink, jobs, sources, work, out);
  InspectLibraries(use, sink, jobs, sources, work, out);
  if (out.pictures.empty() && out.libraries.empty()) {
    out.problems.push_back({trText("Inspect", "image/: there is no screen picture"), false});
  }
  for (const PictureItem& p : out.pictures) {
    if (!p.loss.visible()) continue;
    out.problems.push_back(
        {trText("Inspect",
                "%1: picture %2 differs visibly from its source (%3 dB, a channel off by up to "
                "%4 levels); the lossless format (zbmp) keeps it exact")
             .arg(p.inPack ? kPackDataName : p.file)
             .arg(p.number)
             .arg(p.loss.psnr, 1)
             .arg(p.loss.maxError),
         false});
  }
  return out;
}

}  // namespace tessel::inspect
