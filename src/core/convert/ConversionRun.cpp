#include "convert/ConversionRun.h"

#include <algorithm>
#include <system_error>

#include "config/Baud.h"
#include "config/ConfigSteps.h"
#include "convert/RunValues.h"
#include "convert/SourceScan.h"
#include "font/FontStep.h"
#include "icon/IconConvert.h"
#include "picture/PicturePack.h"
#include "picture/PicturePipeline.h"
#include "util/FileIO.h"
#include "util/OrderedPool.h"
#include "util/Paths.h"

namespace tessel {

namespace fs = std::filesystem;

namespace {

// Ends the wait cursor however the run ends.
class BusyGuard {
 public:
  explicit BusyGuard(Host& host) : host_(host) { host_.busy(true); }
  ~BusyGuard() { host_.busy(false); }
  BusyGuard(const BusyGuard&) = delete;
  BusyGuard& operator=(const BusyGuard&) = delete;

 private:
  Host& host_;
};

void makeFolder(const fs::path& folder) {
  std::error_code ec;
  fs::create_directory(folder, ec);  // one level; a failure shows up in later writes
}

// A source inside the output's private folder would be deleted with it; an
// output root inside the source would write into the source.
bool pathsOverlap(const fs::path& source, const OutputLayout& layout) {
  return pathIsInside(source, layout.privateFolder()) || pathIsInside(layout.root(), source);
}

class Run {
 public:
  Run(const ConversionSettings& settings, const RunOptions& options, Session& session, Host& host)
      : settings_(settings), options_(options), session_(session), host_(host),
        out_(result_.report, options.writeFaults) {
    // Every warning reaches the host as it is recorded.
    result_.report.onWarning = [this](const std::string& text) { host_.warning(text); };
  }

  RunResult execute();

 private:
  RunResult end(RunOutcome outcome);
  RunResult refuse(RunOutcome outcome, const char* message);
  bool prepareOutputTree();
  void fontStep();
  void branchA();
  bool branchB();
  void finish();
  std::vector<IconLibraryJob> planIconLibraries();
  void convertIcons();
  std::optional<int> pictureRotationFrom(const fs::path& picture);
  void picturesAsFiles(int rotation);
  void picturesIntoPack(PicturePack& pack, int rotation);
  int jobs() const { return std::max(1, options_.jobs); }
  void stepDone() {
    ++progressDone_;
    host_.progress(progressDone_, progressTotal_);
  }

  const ConversionSettings& settings_;
  const RunOptions& options_;
  Session& session_;
  Host& host_;
  RunResult result_;
  OutputWriter out_;
  OutputLayout layout_;
  SourceInventory inventory_;
  RunValues values_;
  fs::path resources_;
  int progressDone_ = 0;
  int progressTotal_ = 0;
};

RunResult Run::end(RunOutcome outcome) {
  result_.outcome = outcome;
  result_.report.onWarning = nullptr;  // the result outlives the run
  return std::move(result_);
}

RunResult Run::refuse(RunOutcome outcome, const char* message) {
  host_.showMessage(message);
  return end(outcome);
}

RunResult Run::execute() {
  ScanResult scan = ScanSource(settings_.sourceFolder);
  if (scan.status == ScanStatus::SourceInvalid) {
    return refuse(RunOutcome::SourceInvalid, messages::kSourceInvalid);
  }
  BusyGuard busy(host_);
  if (scan.status == ScanStatus::NoPictures) {
    return refuse(RunOutcome::NoPictures, messages::kNoPictures);
  }
  inventory_ = std::move(scan.inventory);
  result_.pictureCount = static_cast<int>(inventory_.pictures.size());
  result_.iconCount = static_cast<int>(inventory_.icons.size());
  result_.branch = ChooseBranch(inventory_);

  fs::path root = options_.outputRoot;
  if (root.empty()) {
    const fs::path docs = documentsFolder();
    if (docs.empty()) return refuse(RunOutcome::NoOutputFolder, messages::kNoOutputFolder);
    root = docs / "TESSEL";
  }
  layout_ = OutputLayout(root);
  result_.outputRoot = layout_.root();
  result_.privateFolder = layout_.privateFolder();
  if (pathsOverlap(settings_.sourceFolder, layout_)) {
    return refuse(RunOutcome::PathsOverlap, messages::kPathsOverlap);
  }
  resources_ = options_.resourceFolder.empty() ? resourceFolder() : options_.resourceFolder;
  progressTotal_ = result_.pictureCount + result_.iconCount;

  prepareOutputTree();
  if (result_.branch == Branch::A) {
    branchA();
  } else if (!branchB()) {
    return end(RunOutcome::NotConfirmed);
  }
  finish();
  return end(RunOutcome::Completed);
}

bool Run::prepareOutputTree() {
  std::error_code ec;
  fs::create_directories(layout_.root(), ec);
  const fs::path priv = layout_.privateFolder();
  bool clean = true;
  if (fs::exists(fs::symlink_status(priv, ec)) && !deleteFolderTree(priv)) {
    out_.warn("could not remove all of the previous output in " + pathToUtf8(priv));
    clean = false;
  }
  makeFolder(priv);
  makeFolder(layout_.truefontFolder());
  return clean;
}

void Run::fontStep() {
  if (!RunFontStep(settings_.fontChoice, layout_, resources_, out_)) {
    host_.showMessage(messages::kFontMissing);
  }
}

void Run::branchA() {
  makeFolder(layout_.imageFolder());
  if (!inventory_.icons.empty()) makeFolder(layout_.iconFolder());
  makeFolder(layout_.binFolder());
  if (!inventory_.sounds.empty()) makeFolder(layout_.soundFolder());

  for (const fs::path& sound : inventory_.sounds) {
    out_.copy(sound, layout_.soundFile(FileNumber(sound)));
  }
  fontStep();
  const BlockFindings findings = WriteConfigBranchA(inventory_, settings_.rotationChoice,
                                                    settings_.fontDisplay, layout_, out_);
  if (findings.pictureLibrary) values_.pictureLibraryNumber = *findings.pictureLibrary;
  if (findings.iconRotation) session_.iconRotation = *findings.iconRotation;

  if (values_.pictureLibraryNumber == kNoPictureLibrary) {
    // In this branch "automatic" means no rotation.
    picturesAsFiles(FixedRotationCode(settings_.rotationChoice).value_or(0));
  } else {
    progressDone_ += result_.pictureCount;  // the picture library stands in for them
  }
  convertIcons();

  out_.copy(inventory_.table13, layout_.table(13));
  out_.copy(inventory_.table14, layout_.table(14));
  out_.copy(inventory_.table22, layout_.table(22));
}

bool Run::branchB() {
  fontStep();
  CopyConfigBranchB(inventory_, layout_, out_);
  host_.pause(1000);

  const SetupReading reading =
      ReadSetupValues(inventory_.configText, inventory_.t5Config, session_.setup);
  values_.configKind = reading.configKind;
  if (reading.pictureLibrary) values_.pictureLibraryNumber = *reading.pictureLibrary;
  if (!host_.confirmSetup(session_.setup)) return false;
  if (!isBaudIndex(session_.setup.baudIndex)) {
    // A rate outside the list is never written; a host that confirms one
    // has not really confirmed.
    out_.warn("the device parameters hold no valid baud rate; config.txt not written");
    return false;
  }
  WriteConfigBranchB(session_.setup, values_.configKind, settings_.fontDisplay, layout_, out_);

  makeFolder(layout_.imageFolder());
  if (!inventory_.icons.empty()) {
    makeFolder(layout_.iconFolder());
    convertIcons();
  }

  // The first picture that loads decides the rotation of all of them.
  for (const fs::path& picture : inventory_.pictures) {
    if (const std::optional<int> code = pictureRotationFrom(picture)) {
      values_.runRotation = *code;
      break;
    }
  }
  const int rotation = std::max(values_.runRotation, 0);

  PicturePack pack;
  if (settings_.singlePictureFiles) {
    picturesAsFiles(rotation);
  } else {
    picturesIntoPack(pack, rotation);
  }
  if (pack.hasContent()) {
    makeFolder(layout_.binFolder());
    pack.write(layout_, out_);
  }
  // The font step again: bin/ exists now when the pack was written, and only
  // then does the input-method table go into it.
  fontStep();
  return true;
}

// Branch B: the rotation code for every picture of the run, from this
// picture. A chosen rotation does not look at the picture. Automatic gives 0
// unless the configuration is of kind 0; then the picture's shape and the
// confirmed screen rotation decide. Nothing when the picture does not load:
// the decision moves on to the next picture.
std::optional<int> Run::pictureRotationFrom(const fs::path& picture) {
  if (const std::optional<int> fixed = FixedRotationCode(settings_.rotationChoice)) return fixed;
  const std::optional<QSize> size = DecodedPictureSize(picture);
  if (!size) return std::nullopt;
  if (values_.configKind != 0) return 0;
  const bool portrait = size->width() < size->height();
  switch (session_.setup.screenRotation) {
    case 1: return portrait ? 3 : 0;
    case 2: return portrait ? 0 : 2;
    case 3: return portrait ? 1 : 2;
    default: return 0;
  }
}

// How each library is converted, in listing order. This is where the
// picture-library rule lives: the first library whose number the
// configuration named holds the screen pictures.
std::vector<IconLibraryJob> Run::planIconLibraries() {
  std::vector<IconLibraryJob> plan;
  plan.reserve(inventory_.icons.size());
  // A Branch B project configured by a T5UIC block file keeps every library
  // in that layout, and the picture-library rule does not apply.
  const bool t5uic = result_.branch == Branch::B && IsT5uicProject(inventory_.t5Config);
  for (const fs::path& path : inventory_.icons) {
    IconLibraryJob job;
    job.path = path;
    job.number = FileNumber(path);
    job.layout = IconLayoutOf(path, t5uic);
    if (!t5uic) {
      // kNoPictureLibrary means none, so a library numbered 65535 is never
      // taken for it; once taken, the number is used up.
      const bool pictureLibrary = values_.pictureLibraryNumber != kNoPictureLibrary &&
                                  job.number == static_cast<int>(values_.pictureLibraryNumber);
      if (pictureLibrary) values_.pictureLibraryNumber = kNoPictureLibrary;
      // A raw picture library keeps its .zico.
      job.toPictures = pictureLibrary && job.layout == IconLayout::Icl;
      job.rotation = session_.iconRotation;
    }
    plan.push_back(std::move(job));
  }
  return plan;
}

void Run::convertIcons() {
  if (inventory_.icons.empty()) return;
  ConvertIconLibraries(planIconLibraries(), settings_.pictureEncoding(), layout_, out_, jobs());
  progressDone_ += result_.iconCount;
  host_.progress(progressDone_, progressTotal_);
}

void Run::picturesAsFiles(int rotation) {
  const auto& pictures = inventory_.pictures;
  const PictureEncoding encoding = settings_.pictureEncoding();
  forEachOrdered<EncodedPicture>(
      static_cast<int>(pictures.size()), jobs(),
      [&](int i) { return EncodePictureFile(pictures[i], encoding, rotation, PictureTarget::File); },
      [&](int i, EncodedPicture&& encoded) {
        if (!encoded.ok) {
          out_.warn("skipped picture " + pathToUtf8(pictures[i]) + ": " + encoded.error);
        } else if (out_.write(layout_.pictureFile(FileNumber(pictures[i]), encoded.extension),
                              ByteView(encoded.bytes))) {
          ++result_.report.picturesWritten;
        }
        stepDone();
      });
}

void Run::picturesIntoPack(PicturePack& pack, int rotation) {
  const auto& pictures = inventory_.pictures;
  const PictureEncoding encoding = settings_.pictureEncoding();
  values_.runRotation = rotation;
  forEachOrdered<EncodedPicture>(
      static_cast<int>(pictures.size()), jobs(),
      [&](int i) {
        return EncodePictureFile(pictures[i], encoding, rotation, PictureTarget::PackBlock);
      },
      [&](int i, EncodedPicture&& block) {
        pack.append(FileNumber(pictures[i]), block, pathToUtf8(pictures[i]), result_.report);
        stepDone();
      });
}

void Run::finish() {
  out_.write(layout_.marker(), ByteView());
  if (result_.branch == Branch::B) host_.pause(100);
  host_.openFolder(layout_.root());
}

}  // namespace

RunResult ConversionRun(const ConversionSettings& settings, const RunOptions& options,
                        Session& session, Host& host) {
  return Run(settings, options, session, host).execute();
}

}  // namespace tessel
