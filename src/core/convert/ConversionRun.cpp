#include "convert/ConversionRun.h"

#include <system_error>

#include "config/Baud.h"
#include "config/ConfigSteps.h"
#include "font/FontStep.h"
#include "icon/IconConvert.h"
#include "picture/PictureConvert.h"
#include "picture/PicturePack.h"
#include "util/FileIO.h"
#include "util/OrderedPool.h"
#include "util/Paths.h"

namespace tessel {

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

// Passes the report's new warnings to the host as they happen.
class WarningFeed {
 public:
  WarningFeed(Report& report, Host& host) : report_(report), host_(host) {}
  void flush() {
    for (; sent_ < report_.warnings.size(); ++sent_) host_.warning(report_.warnings[sent_]);
  }

 private:
  Report& report_;
  Host& host_;
  std::size_t sent_ = 0;
};

void makeFolder(const fs::path& folder) {
  std::error_code ec;
  fs::create_directory(folder, ec);  // one level; a failure shows up in later writes
}

// A source inside the output's private folder would be deleted with it; an
// output root inside the source would write into the source.
bool pathsOverlap(const fs::path& source, const fs::path& outputRoot) {
  return pathIsInside(source, outputRoot / "private") || pathIsInside(outputRoot, source);
}

class Run {
 public:
  Run(const ConversionSettings& settings, const RunOptions& options, Session& session, Host& host)
      : settings_(settings), options_(options), session_(session), host_(host),
        feed_(result_.report, host) {}

  RunResult execute();

 private:
  bool prepareOutputTree();
  void fontStep();
  void branchA();
  bool branchB();
  void finish();
  void convertIcons();
  void picturesAsFiles(int rotationFor);
  void picturesIntoPack(PicturePack& pack);
  int jobs() const { return std::max(1, options_.jobs); }

  const ConversionSettings& settings_;
  const RunOptions& options_;
  Session& session_;
  Host& host_;
  RunResult result_;
  WarningFeed feed_;
  SourceInventory inventory_;
  RunValues values_;
  fs::path resources_;
  int progressDone_ = 0;
  int progressTotal_ = 0;

  Report& report() { return result_.report; }
  void stepDone() {
    ++progressDone_;
    host_.progress(progressDone_, progressTotal_);
    feed_.flush();
  }
};

RunResult Run::execute() {
  std::error_code ec;
  if (settings_.sourceFolder.empty() || !fs::exists(settings_.sourceFolder, ec)) {
    host_.showMessage(messages::kSourceInvalid);
    result_.outcome = RunOutcome::SourceInvalid;
    return std::move(result_);
  }
  BusyGuard busy(host_);

  ScanResult scan = ScanSource(settings_.sourceFolder);
  if (scan.status != ScanStatus::Ok) {
    host_.showMessage(scan.status == ScanStatus::NoPictures ? messages::kNoPictures
                                                            : messages::kSourceInvalid);
    result_.outcome = scan.status == ScanStatus::NoPictures ? RunOutcome::NoPictures
                                                            : RunOutcome::SourceInvalid;
    return std::move(result_);
  }
  inventory_ = std::move(scan.inventory);
  result_.pictureCount = static_cast<int>(inventory_.pictures.size());
  result_.iconCount = static_cast<int>(inventory_.icons.size());
  result_.branch = ChooseBranch(inventory_);

  session_.pictureLibraryNumber = kNoPictureLibrary;
  session_.pictureLibraryFolder.clear();

  fs::path root = options_.outputRoot;
  if (root.empty()) {
    const fs::path docs = documentsFolder();
    if (docs.empty()) {
      host_.showMessage(messages::kNoOutputFolder);
      result_.outcome = RunOutcome::NoOutputFolder;
      return std::move(result_);
    }
    root = docs / "TESSEL";
  }
  result_.outputRoot = root;
  result_.privateFolder = root / "private";
  if (pathsOverlap(settings_.sourceFolder, root)) {
    host_.showMessage(messages::kPathsOverlap);
    result_.outcome = RunOutcome::PathsOverlap;
    return std::move(result_);
  }
  resources_ = options_.resourceFolder.empty() ? resourceFolder() : options_.resourceFolder;
  progressTotal_ = result_.pictureCount + result_.iconCount;

  if (!prepareOutputTree()) {
    feed_.flush();
  }
  if (result_.branch == Branch::A) {
    branchA();
  } else if (!branchB()) {
    result_.outcome = RunOutcome::NotConfirmed;
    feed_.flush();
    return std::move(result_);
  }
  finish();
  return std::move(result_);
}

bool Run::prepareOutputTree() {
  std::error_code ec;
  fs::create_directories(result_.outputRoot, ec);
  const fs::path& priv = result_.privateFolder;
  bool clean = true;
  if (fs::exists(fs::symlink_status(priv, ec)) && !deleteFolderTree(priv)) {
    report().warn("could not remove all of the previous output in " + pathToUtf8(priv));
    clean = false;
  }
  makeFolder(priv);
  makeFolder(priv / "truefont");
  return clean;
}

void Run::fontStep() {
  if (!RunFontStep(settings_, result_.privateFolder, resources_, report())) {
    feed_.flush();
    host_.showMessage(messages::kFontMissing);
  }
  feed_.flush();
}

void Run::branchA() {
  const fs::path& priv = result_.privateFolder;
  makeFolder(priv / "image");
  if (!inventory_.icons.empty()) makeFolder(priv / "icon");
  makeFolder(priv / "bin");
  if (!inventory_.sounds.empty()) makeFolder(priv / "sound");

  for (const fs::path& sound : inventory_.sounds) {
    copyOutput(report(), sound, priv / "sound" / (std::to_string(FileNumber(sound)) + ".wav"));
  }
  fontStep();
  WriteConfigBranchA(settings_, inventory_, priv, session_, report());
  feed_.flush();

  if (session_.pictureLibraryNumber == kNoPictureLibrary) {
    // In this branch "automatic" means no rotation.
    picturesAsFiles(settings_.rotationChoice >= 1 ? settings_.rotationChoice - 1 : 0);
  } else {
    progressDone_ += result_.pictureCount;  // the picture library stands in for them
  }
  convertIcons();

  copyOutput(report(), inventory_.table13, priv / "bin" / "13.bin");
  copyOutput(report(), inventory_.table14, priv / "bin" / "14.bin");
  copyOutput(report(), inventory_.table22, priv / "bin" / "22.bin");
  feed_.flush();
}

bool Run::branchB() {
  const fs::path& priv = result_.privateFolder;
  fontStep();
  CopyConfigBranchB(inventory_, priv, report());
  feed_.flush();
  host_.pause(1000);

  values_.configKind = ReadConfigBranchB(inventory_, session_.setup, session_);
  if (!host_.confirmSetup(session_.setup)) return false;
  if (!isBaudIndex(session_.setup.baudIndex)) {
    // A rate outside the list is never written; a host that confirms one
    // has not really confirmed.
    report().warn("the device parameters hold no valid baud rate; config.txt not written");
    return false;
  }
  WriteConfigBranchB(session_.setup, values_.configKind, settings_.fontDisplay, priv, report());
  feed_.flush();

  makeFolder(priv / "image");
  if (!inventory_.icons.empty()) {
    makeFolder(priv / "icon");
    convertIcons();
  }

  // The first picture that loads decides the rotation of all of them.
  for (const fs::path& picture : inventory_.pictures) {
    if (auto code = DecideRunRotation(settings_, picture, values_.configKind,
                                      session_.setup.screenRotation)) {
      values_.runRotation = *code;
      break;
    }
  }
  const int rotation = values_.runRotation < 0 ? 0 : values_.runRotation;

  PicturePack pack;
  if (settings_.singlePictureFiles) {
    picturesAsFiles(rotation);
  } else {
    values_.runRotation = rotation;
    picturesIntoPack(pack);
  }
  if (pack.hasContent()) {
    makeFolder(priv / "bin");
    pack.write(priv, report());
  }
  fontStep();
  return true;
}

void Run::convertIcons() {
  if (inventory_.icons.empty()) return;
  ConvertIconLibraries(settings_, inventory_, result_.branch, result_.privateFolder, session_,
                       report(), jobs());
  progressDone_ += result_.iconCount;
  host_.progress(progressDone_, progressTotal_);
  feed_.flush();
}

void Run::picturesAsFiles(int rotation) {
  const auto& pictures = inventory_.pictures;
  const fs::path folder = result_.privateFolder / "image";
  forEachOrdered<EncodedPicture>(
      static_cast<int>(pictures.size()), jobs(),
      [&](int i) { return EncodePictureFile(settings_, pictures[i], rotation); },
      [&](int i, EncodedPicture&& encoded) {
        if (!encoded.ok) {
          report().warn(encoded.warning);
        } else if (writeOutput(report(),
                               folder / (std::to_string(FileNumber(pictures[i])) + encoded.extension),
                               ByteView(encoded.bytes))) {
          ++report().picturesWritten;
        }
        stepDone();
      });
}

void Run::picturesIntoPack(PicturePack& pack) {
  const auto& pictures = inventory_.pictures;
  const int rotation = values_.runRotation;
  forEachOrdered<PackBlock>(
      static_cast<int>(pictures.size()), jobs(),
      [&](int i) { return EncodePackBlock(settings_, pictures[i], rotation); },
      [&](int i, PackBlock&& block) {
        pack.append(FileNumber(pictures[i]), std::move(block), report());
        stepDone();
      });
}

void Run::finish() {
  const fs::path marker = result_.outputRoot / pathFromUtf8(kMarkerFileName);
  writeOutput(report(), marker, ByteView());
  feed_.flush();
  if (result_.branch == Branch::B) host_.pause(100);
  host_.openFolder(result_.outputRoot);
  result_.outcome = RunOutcome::Completed;
}

}  // namespace

RunResult ConversionRun(const ConversionSettings& settings, const RunOptions& options,
                        Session& session, Host& host) {
  return Run(settings, options, session, host).execute();
}

}  // namespace tessel
