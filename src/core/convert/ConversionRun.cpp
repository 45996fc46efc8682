#include "convert/ConversionRun.h"

#include <algorithm>
#include <map>
#include <optional>
#include <set>
#include <system_error>
#include <thread>

#include "config/Baud.h"
#include "config/ConfigSteps.h"
#include "convert/OutputClaim.h"
#include "convert/Reuse.h"
#include "convert/RunRecordWriter.h"
#include "convert/RunValues.h"
#include "convert/SourceScan.h"
#include "font/FontStep.h"
#include "icon/IconConvert.h"
#include "model/OutputWriter.h"
#include "picture/PicturePack.h"
#include "picture/PicturePipeline.h"
#include "util/FileIO.h"
#include "util/Hash.h"
#include "util/OrderedPool.h"
#include "util/Paths.h"
#include "util/Platform.h"
#include "util/QtMessages.h"
#include "util/Text.h"

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

void MakeFolder(const fs::path& folder) {
  std::error_code ec;
  fs::create_directory(folder, ec);  // one level; a failure shows up in later writes
}

// A source inside the output's private folder (or the folders a run builds
// and sets aside beside it) would be deleted with it; an output root inside
// the source would write into the source.
// Names and identities both count: a bind mount of a folder inside private/
// is found by its device and inode.
bool SourceAndOutputOverlap(const fs::path& source, const OutputLayout& layout) {
  for (const fs::path& removed :
       {layout.privateFolder(), layout.stagingFolder(), layout.previousFolder()}) {
    if (PathIsInside(source, removed) || FolderTreeHolds(removed, source)) return true;
  }
  return PathIsInside(layout.root(), source);
}

class Run {
 public:
  Run(const ConversionSettings& settings, const RunOptions& options, Session& session, Host& host)
      : settings_(settings), options_(options), session_(session), host_(host),
        work_(options.limits), out_(result_.report, options.writeFaults, options.stop) {
    // Every warning reaches the host as it is recorded.
    result_.report.onWarning = [this](const std::string& text) { host_.warning(text); };
  }

  RunResult execute();

 private:
  RunResult end(RunOutcome outcome);
  // The checks before anything is touched: each false one has told the host
  // why and left the outcome in refusal_.
  bool sourceReadable(const ScanResult& scan);
  bool sourceHoldsPictures(const ScanResult& scan);
  bool outputUsable();
  bool outputClaimed();
  bool refused(RunOutcome outcome, const std::string& message);
  bool refused(RunOutcome outcome, Message message, const fs::path& about,
               const fs::path& other = {});
  void takeInventory(ScanResult&& scan);
  RunOutcome branchBEnded() const;
  std::uint64_t outputBytesAtLeast() const;
  void note(const std::string& text);
  bool putOutputInPlace();
  void registerInputs();
  void ignore(const fs::path& input, const std::string& reason);
  void optionWithoutEffect(const std::string& text);
  void warnOddSizes();
  void markReused(const fs::path& file, bool reused);
  void finishReport();
  bool prepareOutputTree();
  void fontStep();
  void branchA();
  void makeBranchAFolders();
  void copySounds();
  void configBranchA();
  void warnOptionsWithoutEffectA();
  void screensBranchA();
  void pictureLibraryStandsIn();
  void copyTables();
  bool branchB();
  void readDeviceParameters();
  bool deviceParametersConfirmed();
  void finish();
  std::vector<IconLibraryJob> planIconLibraries();
  void convertIcons();
  std::optional<int> pictureRotationFrom(const fs::path& picture);
  void picturesAsFiles(int rotation);
  void picturesIntoPack(PicturePack& pack, int rotation);
  bool reusePack(PicturePack& pack, const std::string& settings, std::vector<MadeFacts>& facts);
  void writePack(const PicturePack& pack);
  void readerMessages(const fs::path& picture, const std::vector<std::string>& messages);
  int jobs() const { return std::max(1, options_.jobs); }
  bool stopped() const { return options_.stop && options_.stop->load(); }
  // A write failed or the user stopped the run: nothing more is written.
  bool halted() const { return out_.halted(); }
  void stepDone() {
    ++progressDone_;
    host_.progress(progressDone_, progressTotal_);
  }

  const ConversionSettings& settings_;
  const RunOptions& options_;
  Session& session_;
  Host& host_;
  // The run's limits and the memory budget its workers share.
  const WorkLimits work_;
  RunResult result_;
  RunOutcome refusal_ = RunOutcome::Completed;
  OutputWriter out_;
  OutputLayout final_;   // where the output goes
  OutputLayout layout_;  // where the steps write: private/ is the staging folder
  std::optional<OutputClaim> claim_;
  SourceInventory inventory_;
  RunValues values_;
  fs::path resources_;
  int progressDone_ = 0;
  int progressTotal_ = 0;
  bool fontWarned_ = false;
  std::map<int, fs::path> stored_;  // picture pack: the picture stored under each number
  // Converted pictures and their sizes after rotation, for the odd-size check.
  std::vector<std::pair<fs::path, QSize>> pictureSizes_;
  RecordRotations rotations_;  // for the run record
  PreviousOutputs previous_;   // what may be reused
  MadeFactsMap made_;          // what each output was made from, for the run record
  bool packReused_ = false;    // the picture pack is the previous one
};

RunResult Run::end(RunOutcome outcome) {
  if (outcome == RunOutcome::Completed && out_.failed()) outcome = RunOutcome::WriteFailed;
  result_.outcome = outcome;
  if (claim_) {
    // A run that did not finish leaves the previous output as it was.
    claim_->abandon();
    claim_.reset();
    if (outcome != RunOutcome::Completed) {
      result_.report.outputsDiscarded(
          trText("Run", "the run ended before its output was put in place"));
    }
  }
  finishReport();
  result_.report.onWarning = nullptr;  // the result outlives the run
  return std::move(result_);
}

bool Run::refused(RunOutcome outcome, const std::string& message) {
  host_.showMessage(message);
  refusal_ = outcome;
  return false;
}

bool Run::refused(RunOutcome outcome, Message message, const fs::path& about,
                  const fs::path& other) {
  host_.systemMessage(message, about, other);
  refusal_ = outcome;
  return false;
}

RunResult Run::execute() {
  ScanResult scan = ScanSource(settings_.sourceFolder);
  if (!sourceReadable(scan)) return end(refusal_);
  BusyGuard busy(host_);
  if (!sourceHoldsPictures(scan)) return end(refusal_);
  takeInventory(std::move(scan));
  if (!outputUsable() || !outputClaimed()) return end(refusal_);

  registerInputs();
  prepareOutputTree();
  if (result_.branch == Branch::A) {
    branchA();
  } else if (!branchB()) {
    return end(branchBEnded());
  }
  if (stopped()) return end(RunOutcome::Stopped);
  if (out_.failed() || !putOutputInPlace()) return end(RunOutcome::WriteFailed);
  finish();
  return end(RunOutcome::Completed);
}

bool Run::sourceReadable(const ScanResult& scan) {
  switch (scan.status) {
    case ScanStatus::SourceInvalid:
      return refused(RunOutcome::SourceInvalid, Message::SourceInvalid, settings_.sourceFolder);
    case ScanStatus::SourceUnreadable:
      return refused(RunOutcome::SourceInvalid,
                     trText("Run", "cannot read the source folder %1: %2")
                         .arg(Printable(PathToUtf8(settings_.sourceFolder)))
                         .arg(scan.reason));
    case ScanStatus::SourceIsFile:
      return refused(RunOutcome::SourceInvalid,
                     trText("Run", "%1 is a file; give the folder that holds it")
                         .arg(Printable(PathToUtf8(settings_.sourceFolder))));
    default:
      return true;
  }
}

bool Run::sourceHoldsPictures(const ScanResult& scan) {
  if (scan.status != ScanStatus::NoPictures) return true;
  return refused(RunOutcome::NoPictures, Message::NoPictures, settings_.sourceFolder);
}

// What the source holds, and the branch it takes.
void Run::takeInventory(ScanResult&& scan) {
  inventory_ = std::move(scan.inventory);
  result_.pictureCount = static_cast<int>(inventory_.pictures.size());
  result_.iconCount = static_cast<int>(inventory_.icons.size());
  result_.branch = ChooseBranch(inventory_);
  if (result_.branch == Branch::A) {
    result_.branchReason =
        trText("Run", "the source holds the 14 table (%1) and the 13 table (%2)")
            .arg(PathToUtf8(inventory_.table14.filename()))
            .arg(PathToUtf8(inventory_.table13.filename()));
  } else {
    const bool has14 = !inventory_.table14.empty(), has13 = !inventory_.table13.empty();
    result_.branchReason =
        !has14 && !has13 ? trText("Run", "the source holds neither the 14 nor the 13 table")
        : !has14         ? trText("Run", "the source holds no 14 table")
                         : trText("Run", "the source holds no 13 (or 30) table");
  }
}

// The output root: given or the default, reachable, apart from the source;
// and a Branch B run whose parameters can be confirmed.
bool Run::outputUsable() {
  fs::path root = options_.outputRoot;
  if (root.empty()) root = OutputLayout::defaultRoot();
  if (root.empty()) return refused(RunOutcome::NoOutputFolder, Message::NoOutputFolder, {});
  final_ = OutputLayout(root);
  layout_ = final_;
  result_.outputRoot = final_.root();
  result_.privateFolder = final_.privateFolder();
  // A root that cannot be reached is refused for what stands in the way.
  if (const std::string why = PathProblem(final_.root()); !why.empty()) {
    return refused(RunOutcome::OutputRefused,
                   trText("Run", "cannot use %1 as the output folder: %2")
                       .arg(Printable(PathToUtf8(final_.root())))
                       .arg(why));
  }
  if (SourceAndOutputOverlap(settings_.sourceFolder, final_)) {
    return refused(RunOutcome::PathsOverlap, Message::PathsOverlap, settings_.sourceFolder,
                   final_.root());
  }
  if (result_.branch == Branch::B && !host_.canConfirmSetup()) {
    // Known before anything is touched: the parameters cannot be confirmed.
    refusal_ = RunOutcome::NotConfirmed;
    return false;
  }
  return true;
}

// The output root claimed for this run; from here on the steps write into
// the staging folder.
bool Run::outputClaimed() {
  resources_ = options_.resourceFolder.empty() ? ResourceFolder() : options_.resourceFolder;
  claim_.emplace(final_, host_);
  std::vector<std::string> notes;
  const std::string refusal = claim_->claim(options_.force, outputBytesAtLeast(), notes);
  for (const std::string& line : notes) note(line);
  if (!refusal.empty()) {
    claim_.reset();
    return refused(RunOutcome::OutputRefused, refusal);
  }
  layout_ = claim_->staged();
  if (options_.reuse) previous_ = PreviousOutputs(final_);
  progressTotal_ = result_.pictureCount + result_.iconCount;
  return true;
}

// Why Branch B ended before its output was complete.
RunOutcome Run::branchBEnded() const {
  return stopped() ? RunOutcome::Stopped
         : out_.failed() ? RunOutcome::WriteFailed
                         : RunOutcome::NotConfirmed;
}

void Run::note(const std::string& text) {
  result_.report.notes.push_back(text);
  host_.note(text);
}

// What the output takes at the least: the files copied as they are, and a
// small share of the pictures' and libraries' bytes (a compressed screen is
// seldom smaller). A root with less free space plainly cannot take it.
std::uint64_t Run::outputBytesAtLeast() const {
  std::uint64_t copied = 0, converted = 0;
  const auto add = [](std::uint64_t& sum, const fs::path& file) {
    std::error_code ec;
    if (file.empty()) return;
    const std::uintmax_t size = fs::file_size(file, ec);
    if (!ec) sum += size;
  };
  for (const fs::path& p : inventory_.pictures) add(converted, p);
  for (const fs::path& p : inventory_.icons) add(converted, p);
  add(copied, inventory_.table13);
  add(copied, inventory_.configText);
  if (result_.branch == Branch::A) {
    for (const fs::path& p : inventory_.sounds) add(copied, p);
    add(copied, inventory_.table14);
    add(copied, inventory_.table22);
  }
  add(copied, FontSourceFile(resources_, settings_.fontChoice));
  return copied + converted / 32;
}

// The staged private/ takes the place of the previous one. False when it
// could not (the previous one is then in place, and the run failed).
bool Run::putOutputInPlace() {
  // The report names the outputs where they are about to be. The run record
  // (where each output came from) and the marker are written before the
  // swap under names of their own, so that a failure to write them leaves
  // the previous output too; the swap renames them into place.
  result_.report.outputsMoved(layout_.privateFolder(), final_.privateFolder());
  layout_ = final_;
  rotations_.pictureLibrary = session_.iconRotation;
  if (!WriteRunRecord(result_, settings_.sourceFolder, rotations_, final_.stagedRunRecord(), out_,
                      &made_) ||
      !out_.write(final_.stagedMarker(), ByteView())) {
    return false;
  }
  std::vector<std::string> notes;
  const std::string failure = claim_->commit(notes);
  for (const std::string& line : notes) note(line);
  if (!failure.empty()) {
    result_.report.writeFailures.push_back(final_.privateFolder());
    result_.report.warn(failure, final_.privateFolder());
    return false;
  }
  result_.report.outputsMoved(final_.stagedRunRecord(), final_.runRecord());
  result_.report.outputsMoved(final_.stagedMarker(), final_.marker());
  return true;
}

bool Run::prepareOutputTree() {
  MakeFolder(layout_.privateFolder());
  MakeFolder(layout_.truefontFolder());
  return true;
}

void Run::fontStep() {
  if (!RunFontStep(settings_.fontChoice, layout_, resources_, out_)) {
    if (halted()) return;  // a failed write, not a missing font
    result_.report.fontMissing = true;
    const fs::path font = FontSourceFile(resources_, settings_.fontChoice);
    if (!fontWarned_) {
      fontWarned_ = true;
      out_.warn(font.empty()
                    ? trText("Font", "no font: no font choice %1; the target gets no "
                                     "truefont/font.ttf")
                          .arg(settings_.fontChoice)
                    : trText("Font", "no font: %1 was not found; the target gets no "
                                     "truefont/font.ttf")
                          .arg(PathToUtf8(font)));
    }
    host_.systemMessage(Message::FontMissing, font.empty() ? resources_ : font);
  }
}

void Run::registerInputs() {
  Report& report = result_.report;
  for (const fs::path& p : inventory_.pictures) report.input(p, InputKind::Picture);
  for (const fs::path& p : inventory_.icons) report.input(p, InputKind::IconLibrary);
  for (const fs::path& p : inventory_.sounds) report.input(p, InputKind::Sound);
  for (const fs::path* p : {&inventory_.table13, &inventory_.table14, &inventory_.table22}) {
    if (!p->empty()) report.input(*p, InputKind::Table);
  }
  if (!inventory_.configText.empty()) report.input(inventory_.configText, InputKind::ConfigText);
  if (!inventory_.t5Config.empty()) report.input(inventory_.t5Config, InputKind::BlockConfig);
  for (const auto& [path, reason] : inventory_.replaced) {
    const std::string ext = AsciiLower(PathToUtf8(path.extension()));
    report.input(path, ext == ".txt"   ? InputKind::ConfigText
                       : ext == ".cfg" ? InputKind::BlockConfig
                                       : InputKind::Table);
    report.setFate(path, InputFate::Replaced, reason);
    out_.warn(trText("Run", "not used: %1, %2").arg(PathToUtf8(path)).arg(reason), path);
  }
  // Files the display never uses are listed and counted, not warned about:
  // every real project carries some (.HZK fonts, firmware, Thumbs.db).
  for (const auto& [path, reason] : inventory_.ignored) {
    report.input(path, InputKind::Other);
    report.setFate(path, InputFate::NotUsed, reason);
  }
  for (const auto& [path, reason] : inventory_.unusable) {
    report.input(path, InputKind::Other);
    report.skipped(path, trText("Run", "skipped %1: %2").arg(PathToUtf8(path)).arg(reason));
  }
  // What Branch B leaves out by its nature is listed and counted; there is
  // nothing to act on, so no warning.
  if (result_.branch == Branch::B) {
    for (const fs::path& p : inventory_.sounds) {
      report.setFate(p, InputFate::Ignored, trText("Run", "a Branch B project copies no sounds"));
    }
    if (!inventory_.table14.empty()) {
      report.setFate(inventory_.table14, InputFate::Ignored,
                     trText("Run", "Branch B uses no 14 table"));
    }
    if (!inventory_.table22.empty()) {
      report.setFate(inventory_.table22, InputFate::Ignored,
                     trText("Run", "Branch B uses no 22 table"));
    }
  }
}

void Run::ignore(const fs::path& input, const std::string& reason) {
  result_.report.setFate(input, InputFate::Ignored, reason);
  out_.warn(trText("Run", "ignored %1: %2").arg(PathToUtf8(input)).arg(reason), input);
}

void Run::optionWithoutEffect(const std::string& text) { out_.warn(text); }

void Run::branchA() {
  makeBranchAFolders();
  copySounds();
  fontStep();
  configBranchA();
  warnOptionsWithoutEffectA();
  if (halted()) return;
  screensBranchA();
  convertIcons();
  if (halted()) return;
  copyTables();
}

void Run::makeBranchAFolders() {
  MakeFolder(layout_.imageFolder());
  if (!inventory_.icons.empty()) MakeFolder(layout_.iconFolder());
  MakeFolder(layout_.binFolder());
  if (!inventory_.sounds.empty()) MakeFolder(layout_.soundFolder());
}

void Run::copySounds() {
  for (const fs::path& sound : inventory_.sounds) {
    out_.copy(sound, layout_.soundFile(FileNumber(sound)));
  }
}

// config.txt, copied from the register text or written from the block file,
// and what the block file says about the libraries.
void Run::configBranchA() {
  const BlockFindings findings = WriteConfigBranchA(inventory_, settings_.rotationChoice,
                                                    settings_.fontDisplay, layout_, out_);
  if (findings.pictureLibrary) values_.pictureLibraryNumber = *findings.pictureLibrary;
  if (findings.iconRotation) session_.iconRotation = *findings.iconRotation;
  Report& report = result_.report;
  if (!inventory_.configText.empty() && !inventory_.t5Config.empty()) {
    ignore(inventory_.t5Config, trText("Run", "the register text is copied as config.txt instead"));
  } else if (!inventory_.t5Config.empty() && report.output(layout_.configText())) {
    report.madeFrom(inventory_.t5Config, layout_.configText());
  }
}

void Run::warnOptionsWithoutEffectA() {
  if (settings_.fontDisplay == FontDisplay::Bitmap) {
    if (!inventory_.configText.empty()) {
      optionWithoutEffect(
          trText("Run", "the bitmap font display has no effect: config.txt is a copy of %1")
              .arg(PathToUtf8(inventory_.configText)));
    } else if (!result_.report.output(layout_.configText())) {
      optionWithoutEffect(
          trText("Run", "the bitmap font display has no effect: no config.txt is written"));
    }
  }
  if (!settings_.singlePictureFiles) {
    optionWithoutEffect(trText("Run",
                               "the picture pack is for Branch B projects: this Branch A project "
                               "gets single picture files"));
  }
}

// The screens: the picture files, or the picture library's icons.
void Run::screensBranchA() {
  if (values_.pictureLibraryNumber == kNoPictureLibrary) {
    // In this branch "automatic" means no rotation.
    picturesAsFiles(FixedRotationCode(settings_.rotationChoice).value_or(0));
  } else {
    pictureLibraryStandsIn();
  }
}

// The picture files are left out: the library the block file names holds
// the screens (converted with the icons), or there are none.
void Run::pictureLibraryStandsIn() {
  const int number = values_.pictureLibraryNumber;
  const bool present = std::any_of(inventory_.icons.begin(), inventory_.icons.end(),
                                   [&](const fs::path& p) { return FileNumber(p) == number; });
  const std::string why =
      present ? trText("Run",
                       "the block file names icon library %1 as the picture library: its icons "
                       "are the screen pictures")
                    .arg(number)
              : trText("Run",
                       "the block file names icon library %1 as the picture library, and the "
                       "source holds none")
                    .arg(number);
  if (!present) {
    out_.warn(trText("Run",
                     "no screen pictures: the block file names icon library %1 as the picture "
                     "library, and the source holds none")
                  .arg(number));
  }
  for (const fs::path& picture : inventory_.pictures) {
    result_.report.setFate(picture, InputFate::StoodIn, why);
  }
  progressDone_ += result_.pictureCount;  // the picture library stands in for them
}

void Run::copyTables() {
  out_.copy(inventory_.table13, layout_.table(13));
  out_.copy(inventory_.table14, layout_.table(14));
  out_.copy(inventory_.table22, layout_.table(22));
}

bool Run::branchB() {
  fontStep();
  CopyConfigBranchB(inventory_, layout_, out_);
  host_.pause(1000);
  readDeviceParameters();
  if (!deviceParametersConfirmed()) return false;
  WriteConfigBranchB(session_.setup, values_.configKind, settings_.fontDisplay, layout_, out_);

  MakeFolder(layout_.imageFolder());
  if (!inventory_.icons.empty()) {
    MakeFolder(layout_.iconFolder());
    convertIcons();
  }
  if (halted()) return false;

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
  if (halted()) return false;
  if (pack.hasContent()) writePack(pack);
  // The font step again: bin/ exists now when the pack was written, and only
  // then does the input-method table go into it.
  fontStep();
  return true;
}

// Branch B: the device parameters from the register text or the block
// file, and the kind of configuration and picture library they give.
void Run::readDeviceParameters() {
  const SetupReading reading =
      ReadSetupValues(inventory_.configText, inventory_.t5Config, session_.setup);
  if (!inventory_.t5Config.empty()) {
    if (reading.fromText) {
      ignore(inventory_.t5Config,
             trText("Run", "the register text gives the device parameters instead"));
    } else {
      result_.report.setFate(inventory_.t5Config, InputFate::Read,
                             trText("Run", "the device parameters were read from it"));
    }
  }
  values_.configKind = reading.configKind;
  if (reading.pictureLibrary) values_.pictureLibraryNumber = *reading.pictureLibrary;
}

// The host confirmed the parameters, and with a rate config.txt can hold.
bool Run::deviceParametersConfirmed() {
  if (stopped() || !host_.confirmSetup(session_.setup) || stopped()) return false;
  if (!IsBaudIndex(session_.setup.baudIndex)) {
    // A rate outside the list is never written; a host that confirms one
    // has not really confirmed.
    out_.warn(trText("Run", "the device parameters hold no valid baud rate; config.txt not written"));
    return false;
  }
  return true;
}

// Branch B: the rotation code for every picture of the run, from this
// picture. A chosen rotation does not look at the picture. Automatic gives 0
// unless the configuration is of kind 0; then the picture's shape and the
// confirmed screen rotation decide. Nothing when the picture does not load:
// the decision moves on to the next picture.
std::optional<int> Run::pictureRotationFrom(const fs::path& picture) {
  if (const std::optional<int> fixed = FixedRotationCode(settings_.rotationChoice)) return fixed;
  const std::optional<QSize> size = DecodedPictureSize(picture, work_.limits());
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
  const std::vector<IconLibraryJob> plan = planIconLibraries();
  const PictureEncoding encoding = settings_.pictureEncoding();
  ZicoReuse reuse(previous_, plan, encoding.compression, layout_.privateFolder(), made_,
                  [this](const fs::path& zico, bool reused) { markReused(zico, reused); });
  ConvertIconLibraries(plan, encoding, layout_, out_, jobs(), work_, &reuse);
  progressDone_ += result_.iconCount;
  host_.progress(progressDone_, progressTotal_);
}

void Run::picturesAsFiles(int rotation) {
  rotations_.pictures = rotation;
  const auto& pictures = inventory_.pictures;
  const PictureEncoding encoding = settings_.pictureEncoding();
  ForEachOrdered<PictureWork>(
      static_cast<int>(pictures.size()), jobs(),
      [&](int i) {
        if (halted()) return PictureWork{};
        return MakeOrReusePicture(previous_, pictures[i], encoding, rotation, PictureTarget::File,
                                  work_);
      },
      [&](int i, PictureWork&& work) {
        const fs::path& picture = pictures[i];
        const EncodedPicture& encoded = work.encoded;
        if (halted()) return;  // the rest is left unwritten
        readerMessages(picture, encoded.messages);
        if (!encoded.ok) {
          result_.report.skipped(picture, trText("Run", "skipped picture %1: %2")
                                              .arg(PathToUtf8(picture))
                                              .arg(encoded.error));
        } else {
          const fs::path file = layout_.pictureFile(FileNumber(picture), encoded.extension);
          if (out_.write(file, ByteView(encoded.bytes))) {
            ++result_.report.picturesWritten;
            result_.report.madeFrom(picture, file);
            pictureSizes_.emplace_back(picture, QSize(encoded.width, encoded.height));
            made_[RecordKey(file, layout_.privateFolder())] = std::move(work.facts);
            markReused(file, work.reused);
          } else if (out_.failed()) {
            // A stop that came meanwhile writes nothing and records nothing.
            result_.report.setFate(picture, InputFate::Skipped, result_.report.warnings.back());
          }
        }
        stepDone();
      });
  warnOddSizes();
}

void Run::picturesIntoPack(PicturePack& pack, int rotation) {
  rotations_.pictures = rotation;
  const auto& pictures = inventory_.pictures;
  stored_.clear();
  std::map<int, fs::path>& stored = stored_;
  const PictureEncoding encoding = settings_.pictureEncoding();
  values_.runRotation = rotation;
  const std::string settings = PictureSettings(encoding, rotation, PictureTarget::PackBlock);
  std::vector<MadeFacts> known;  // the pictures' facts, when the pack was not reused
  if (reusePack(pack, settings, known)) return;
  ForEachOrdered<PackBlockWork>(
      static_cast<int>(pictures.size()), jobs(),
      [&](int i) {
        if (halted()) return PackBlockWork{};
        MadeFacts facts = known.empty() ? MadeFacts{} : std::move(known[std::size_t(i)]);
        facts.settings = settings;
        return MakePackBlock(pictures[i], encoding, rotation, std::move(facts), work_);
      },
      [&](int i, PackBlockWork&& work) {
        const EncodedPicture& block = work.block;
        const fs::path& picture = pictures[i];
        if (halted()) return;
        readerMessages(picture, block.messages);
        const int number = FileNumber(picture);
        Report& report = result_.report;
        if (pack.append(number, block, picture, report)) {
          if (const auto earlier = stored.find(number); earlier != stored.end()) {
            report.setFate(earlier->second, InputFate::Replaced,
                           trText("Run", "replaced by %1, which has the same number")
                               .arg(PathToUtf8(picture)));
            out_.warn(trText("Run",
                             "same number: %1 is used for picture %2 of the picture pack, %3 is "
                             "not")
                          .arg(PathToUtf8(picture))
                          .arg(number)
                          .arg(PathToUtf8(earlier->second)),
                      earlier->second);
          }
          stored[number] = picture;
          pictureSizes_.emplace_back(picture, QSize(block.width, block.height));
          made_[PackEntryKey(number)] = std::move(work.facts);
        } else {
          report.setFate(picture, InputFate::Skipped, report.warnings.back());
        }
        stepDone();
      });
  warnOddSizes();
}

// The picture pack as a whole from the previous output: when every picture
// of the source is stored in it under its own number, unchanged and with
// these settings, and both its files still match the record. The pictures
// are hashed on the workers, and the files read and checked there; the
// pictures' facts stay in `facts` for a pack that is made again.
bool Run::reusePack(PicturePack& pack, const std::string& settings,
                    std::vector<MadeFacts>& facts) {
  const auto& pictures = inventory_.pictures;
  const int count = static_cast<int>(pictures.size());
  if (count == 0 || previous_.packEntries() != count) return false;
  std::set<int> numbers;
  for (const fs::path& picture : pictures) {
    if (!numbers.insert(FileNumber(picture)).second) return false;
  }
  facts.assign(pictures.size(), MadeFacts{});
  const std::string indexKey = RecordKey(layout_.packIndex(), layout_.privateFolder());
  const std::string dataKey = RecordKey(layout_.packData(), layout_.privateFolder());
  std::optional<PreviousOutputs::Found> index, data;
  bool same = true;
  ForEachOrdered<bool>(
      count + 1, jobs(),
      [&](int i) {
        if (halted()) return false;
        if (i == 0) {
          index = previous_.verified(indexKey);
          data = index ? previous_.verified(dataKey) : std::nullopt;
          return index.has_value() && data.has_value();
        }
        const fs::path& picture = pictures[std::size_t(i - 1)];
        MadeFacts& f = facts[std::size_t(i - 1)];
        f.settings = settings;
        HashPictureSource(picture, f);
        return previous_.packEntry(FileNumber(picture), PathToUtf8(picture.filename()), f) !=
               nullptr;
      },
      [&](int, bool&& matches) { same = same && matches; });
  if (!same || halted() || !pack.reuse(std::move(index->bytes), std::move(data->bytes))) {
    return false;
  }
  for (std::size_t i = 0; i < pictures.size(); ++i) {
    const fs::path& picture = pictures[i];
    const int number = FileNumber(picture);
    const RecordOutput* entry =
        previous_.packEntry(number, PathToUtf8(picture.filename()), facts[i]);
    stored_[number] = picture;
    pictureSizes_.emplace_back(picture, QSize(entry->width, entry->height));
    facts[i].hash = entry->hash;
    facts[i].width = entry->width;
    facts[i].height = entry->height;
    made_[PackEntryKey(number)] = std::move(facts[i]);
    stepDone();
  }
  made_[indexKey] = MadeFacts{0, {}, "pack", index->hash};
  made_[dataKey] = MadeFacts{0, {}, "pack", data->hash};
  packReused_ = true;
  warnOddSizes();
  return true;
}

// Writes the picture pack; a new one is hashed for the record meanwhile.
void Run::writePack(const PicturePack& pack) {
  MakeFolder(layout_.binFolder());
  const std::string indexKey = RecordKey(layout_.packIndex(), layout_.privateFolder());
  const std::string dataKey = RecordKey(layout_.packData(), layout_.privateFolder());
  std::string indexHash, dataHash;
  const auto hash = [&] {
    indexHash = ContentHash(ByteView(pack.index()));
    dataHash = ContentHash(ByteView(pack.data()));
  };
  std::optional<std::thread> hashing;
  if (!packReused_) {
    try {
      hashing.emplace(hash);
    } catch (const std::system_error&) {
      hash();  // no thread to be had: here, then
    }
  }
  const bool written = pack.write(layout_, out_);
  if (hashing) hashing->join();
  if (!written) return;
  for (const auto& [number, picture] : stored_) {
    result_.report.madeFrom(picture, layout_.packIndex(), InputFate::Converted, true);
    result_.report.madeFrom(picture, layout_.packData(), InputFate::Converted, true);
  }
  if (!packReused_) {
    made_[indexKey] = MadeFacts{0, {}, "pack", indexHash};
    made_[dataKey] = MadeFacts{0, {}, "pack", dataHash};
  }
  markReused(layout_.packIndex(), packReused_);
  markReused(layout_.packData(), packReused_);
}

// What the image readers said while reading a picture, as its warnings.
void Run::readerMessages(const fs::path& picture, const std::vector<std::string>& messages) {
  for (const std::string& message : messages) {
    out_.warn(trText("Run", "picture %1: %2").arg(PathToUtf8(picture)).arg(message), picture);
  }
}

// Whether the output at `file` was last written from the previous output.
void Run::markReused(const fs::path& file, bool reused) {
  std::vector<OutputRecord>& outputs = result_.report.outputs;
  // The output just written is the last one, unless it was written before.
  OutputRecord* record = !outputs.empty() && outputs.back().path == file
                             ? &outputs.back()
                             : result_.report.output(file);
  if (record) record->reused = reused;
}

// Most of a project's screens share one size: name the pictures that don't.
void Run::warnOddSizes() {
  if (pictureSizes_.size() < 3) return;
  std::map<std::pair<int, int>, int> counts;
  for (const auto& [path, size] : pictureSizes_) ++counts[{size.width(), size.height()}];
  const auto common = std::max_element(counts.begin(), counts.end(), [](const auto& a, const auto& b) {
    return a.second < b.second;
  });
  if (common->second * 2 <= static_cast<int>(pictureSizes_.size())) return;
  const auto [w, h] = common->first;
  for (const auto& [path, size] : pictureSizes_) {
    if (size.width() == w && size.height() == h) continue;
    out_.warn(trText("Run", "odd size: picture %1 is %2 x %3, the other %4 pictures are %5 x %6")
                  .arg(PathToUtf8(path))
                  .arg(size.width())
                  .arg(size.height())
                  .arg(common->second)
                  .arg(w)
                  .arg(h),
              path);
  }
  pictureSizes_.clear();
}

void Run::finishReport() {
  Report& report = result_.report;
  RunTotals& t = result_.totals;
  // Listing order: the order a user sees in a file manager.
  std::stable_sort(report.inputs.begin(), report.inputs.end(),
                   [](const InputRecord& a, const InputRecord& b) {
                     return a.path.filename() < b.path.filename();
                   });
  const bool ended = result_.outcome != RunOutcome::Completed;
  for (InputRecord& input : report.inputs) {
    if (input.fate == InputFate::Unhandled && input.reason.empty()) {
      input.reason = ended ? trText("Run", "the run ended before it came to this input")
                           : trText("Run", "not used by this run");
    }
    switch (input.fate) {
      case InputFate::Skipped: ++t.inputsSkipped; break;
      case InputFate::Replaced: ++t.inputsReplaced; break;
      case InputFate::Ignored: ++t.inputsIgnored; break;
      case InputFate::NotUsed: ++t.inputsNotUsed; break;
      case InputFate::StoodIn: ++t.picturesReplacedByLibrary; break;
      case InputFate::Copied: ++t.filesCopied; break;
      default: break;
    }
    if (input.kind == InputKind::Picture) ++t.picturesFound;
    if (input.kind == InputKind::IconLibrary) {
      ++t.librariesFound;
      if (input.fate == InputFate::Converted) ++t.librariesConverted;
    }
  }
  t.screensFromLibrary = report.pictureLibraryIcons > 0;
  const fs::path imageFolder = layout_.imageFolder();
  for (const OutputRecord& output : report.outputs) {
    if (output.path.parent_path() == imageFolder) ++t.picturesConverted;
    t.iconsConverted += output.icons;
    if (output.reused) ++t.outputsReused;
  }
  t.picturesConverted += report.packEntries;
  t.filesWritten = static_cast<int>(report.outputs.size());
  t.warnings = static_cast<int>(report.warnings.size());
}

// The output is in place, the marker beside it: the folder opens.
void Run::finish() {
  if (result_.branch == Branch::B) host_.pause(100);
  host_.openFolder(final_.root());
}

}  // namespace

RunResult ConversionRun(const ConversionSettings& settings, const RunOptions& options,
                        Session& session, Host& host) {
  const QtMessageRoute readerMessages;  // the image readers' messages go to their inputs
  RunResult result = Run(settings, options, session, host).execute();
  ReturnFreedMemory();
  return result;
}

}  // namespace tessel
