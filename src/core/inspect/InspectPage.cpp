#include "inspect/InspectPage.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QLocale>
#include <algorithm>
#include <atomic>
#include <map>
#include <mutex>
#include <optional>
#include <system_error>

#include "inspect/PageFolder.h"
#include "inspect/PagePng.h"
#include "model/OutputLayout.h"
#include "picture/PictureLoad.h"
#include "util/FileIO.h"
#include "util/Language.h"
#include "util/Paths.h"
#include "util/Text.h"

namespace tessel::inspect {

namespace {

constexpr int kScreenBox = 240;  // a screen is shown within this box, its full size a click away

std::string NumberText(std::uint64_t v) { return std::to_string(v); }

QLocale PageLocale() {
  return LanguageInUse() == Language::Chinese ? QLocale(QLocale::Chinese, QLocale::China)
                                              : QLocale(QLocale::English, QLocale::UnitedStates);
}

// 4033420 -> "3.85 MiB" in the page's language.
std::string DataSize(std::uint64_t bytes) {
  return PageLocale().formattedDataSize(static_cast<qint64>(bytes)).toStdString();
}

std::string HtmlEscaped(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (const char c : text) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      case '\'': out += "&#39;"; break;
      default: out += c;
    }
  }
  return out;
}

std::string PictureName(const PictureItem& item) {
  return std::string(item.inPack ? "pack-" : "picture-") + std::to_string(item.number);
}
std::string IconName(const LibraryItem& library, const IconItem& icon) {
  return "icon-" + std::to_string(library.number) + "-" + std::to_string(icon.entry);
}
std::string LibraryAnchor(const LibraryItem& library) {
  return "library-" + std::to_string(library.number);
}

// Writes the PNG files as the inspection decodes the pictures, on its
// worker threads, turned as the display turns them, and remembers which
// were written.
class PngSink : public ImageSink {
 public:
  PngSink(fs::path folder, const PageProgress& progress, int pictures)
      : folder_(std::move(folder)), progress_(progress), pictures_(pictures) {}

  void displayRotation(int code) override { rotation_ = code; }
  void picture(const PictureItem& item, const QImage& image) override {
    tell();
    const std::string name = PictureName(item) + ".png";
    if (save(RotatePicture(image, rotation_), name)) remember(name);
  }
  // A JPEG the display does not turn goes on the page as it is: the browser
  // decodes the very bytes the display decodes, and nothing is encoded.
  bool jpeg(const PictureItem& item, ByteView bytes) override {
    if (rotation_ != 0) return false;
    tell();
    const std::string name = PictureName(item) + ".jpg";
    std::string why;
    if (WritePageFile(folder_ / name, bytes, &why)) {
      remember(name);
    } else {
      fail(name, why);
    }
    return true;
  }
  void source(const PictureItem& item, const QImage& image) override {
    const std::string name = PictureName(item) + "-source.png";
    if (save(RotatePicture(image, rotation_), name)) remember(name);
  }
  void icon(const LibraryItem& library, const IconItem& icon, const QImage& image) override {
    const std::string name = IconName(library, icon) + ".png";
    if (save(RotatePicture(image, rotation_), name)) remember(name);
  }

  int rotation() const { return rotation_; }
  bool has(const std::string& name) const {
    std::lock_guard<std::mutex> lock(mutex_);
    return written_.count(name) != 0;
  }
  // The screen's file: NAME.png or NAME.jpg, or empty when none was written.
  std::string screenFile(const std::string& name) const {
    for (const char* extension : {".png", ".jpg"}) {
      if (has(name + extension)) return name + extension;
    }
    return {};
  }
  std::string firstFailure() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return failure_;
  }

 private:
  // Encoded in memory and written fresh: never through a link, never by
  // opening what stands there (a FIFO would wait).
  bool save(const QImage& image, const std::string& name) {
    const Bytes png = EncodePagePng(image);
    std::string why = png.empty() ? trText("Inspect", "out of memory").str() : std::string();
    if (!png.empty() && WritePageFile(folder_ / name, ByteView(png), &why)) return true;
    fail(name, why);
    return false;
  }
  void fail(const std::string& name, const std::string& why) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (failure_.empty()) {
      failure_ = trText("Inspect", "cannot write %1 (%2)").arg(PathToUtf8(folder_ / name)).arg(why);
    }
  }
  void remember(const std::string& name) {
    std::lock_guard<std::mutex> lock(mutex_);
    written_[name] = true;
  }

  fs::path folder_;
  void tell() {
    if (progress_) progress_(++drawn_, pictures_);
  }

  int rotation_ = 0;
  const PageProgress& progress_;
  const int pictures_;
  std::atomic<int> drawn_{0};
  mutable std::mutex mutex_;
  std::map<std::string, bool> written_;
  std::string failure_;
};

const char* kStyle = R"(
body{font:14px/1.45 "DejaVu Sans","Noto Sans CJK SC","Droid Sans Fallback",sans-serif;margin:24px;color:#1d2330;background:#f4f5f7}
h1{font-size:22px;margin:0 0 4px} h2{font-size:18px;margin:28px 0 10px;border-bottom:2px solid #c9ced6;padding-bottom:4px}
h3{font-size:15px;margin:18px 0 8px} .path{color:#5a6270;margin:0 0 10px;word-break:break-all}
nav{background:#fff;border:1px solid #d5d9e0;border-radius:6px;padding:8px 14px;margin:12px 0} nav ul{margin:4px 0;padding-left:20px} nav a{color:#1f4f9a}
.turn{margin:6px 0 0;color:#39404d}
ul.problems{list-style:none;padding:0;margin:0} ul.problems li{padding:6px 10px;margin:4px 0;border-radius:4px}
li.fault{background:#fde2e1;border-left:5px solid #c62828} li.note{background:#fff4d6;border-left:5px solid #d9a400}
.fine{background:#dff3e3;border-left:5px solid #2e7d32;padding:6px 10px;border-radius:4px}
.grid{display:flex;flex-wrap:wrap;gap:14px} figure{margin:0;background:#fff;border:1px solid #d5d9e0;border-radius:6px;padding:8px}
figure.screen{max-width:508px} .pair{display:flex;gap:6px;align-items:flex-start} .pair span{display:block;font-size:11px;color:#5a6270}
figure.screen img{display:block;height:auto;background:#000}
figure.bad{border-color:#c62828;background:#fde2e1;max-width:260px} figure.lossy{border-color:#d9a400}
figcaption{font-size:12px;color:#39404d;margin-top:6px;max-width:484px;word-break:break-all} figcaption b{font-size:14px;color:#1d2330}
.odd{color:#c62828;font-weight:bold} .from{color:#1d2330} .stored{color:#5a6270}
.icons{display:flex;flex-wrap:wrap;gap:8px;align-items:flex-end} .icons figure{padding:6px;min-width:64px;text-align:center}
.icons img{image-rendering:pixelated;background:repeating-conic-gradient(#ddd 0 25%,#fff 0 50%) 50%/12px 12px}
table{border-collapse:collapse;background:#fff} th,td{border:1px solid #d5d9e0;padding:4px 10px;text-align:left;font-size:13px}
th{background:#e8ebf0} td.bad{color:#c62828} pre{background:#fff;border:1px solid #d5d9e0;padding:8px;margin:0;white-space:pre-wrap}
)";

// A picture turned by `rotation` has its sides swapped when the turn is odd.
std::pair<int, int> ShownSize(int width, int height, int rotation) {
  return rotation % 2 ? std::make_pair(height, width) : std::make_pair(width, height);
}

// The attributes of an image shown within a box of `box` pixels.
std::string Fitted(int width, int height, int box) {
  if (width <= 0 || height <= 0) return {};
  const double scale = std::min(1.0, std::min(double(box) / width, double(box) / height));
  return " width=\"" + NumberText(std::max(1, int(width * scale + 0.5))) + "\" height=\"" +
         NumberText(std::max(1, int(height * scale + 0.5))) + "\"";
}

// "12_status.bmp", or "32_screen.icl, icon 1", and what it replaced.
std::string OriginText(const Origin& origin) {
  if (origin.file.empty()) return {};
  std::string h = "<br><span class=\"from\">" +
                  HtmlEscaped(origin.icon >= 0 ? trText("Inspect", "from %1, icon %2")
                                                .arg(origin.file)
                                                .arg(origin.icon)
                                                .str()
                                          : trText("Inspect", "from %1").arg(origin.file).str()) +
                  "</span>";
  if (!origin.replaced.empty()) {
    std::string names;
    for (const std::string& r : origin.replaced) names += (names.empty() ? "" : ", ") + r;
    h += "<br>" + HtmlEscaped(trText("Inspect", "in place of %1").arg(names));
  }
  return h;
}

// How the stored picture differs from what the display shows.
std::string StoredText(int displayRotation) {
  if (displayRotation == 0) return {};
  return "<br><span class=\"stored\">" +
         HtmlEscaped(trText("Inspect", "stored turned %1°").arg((4 - displayRotation) % 4 * 90)) +
         "</span>";
}

std::string ProblemsSection(const Inspection& in) {
  std::string h = "<section id=\"problems\"><h2>" +
                  HtmlEscaped(trText("Inspect", "Problems (%1 faults, %2 notes)")
                             .arg(in.faults())
                             .arg(in.problems.size() - std::size_t(in.faults()))) +
                  "</h2>\n";
  if (in.problems.empty()) {
    return h + "<p class=\"fine\">" + HtmlEscaped(trText("Inspect", "No problems found.")) +
           "</p></section>\n";
  }
  h += "<ul class=\"problems\">\n";
  for (const bool faults : {true, false}) {
    for (const Problem& p : in.problems) {
      if (p.fault != faults) continue;
      h += std::string("<li class=\"") + (p.fault ? "fault" : "note") + "\">" +
           HtmlEscaped(p.fault ? p.text : trText("Inspect", "note: %1").arg(p.text).str()) + "</li>\n";
    }
  }
  return h + "</ul></section>\n";
}

// The size most screens share.
std::optional<std::pair<int, int>> CommonSize(const Inspection& in, int* count) {
  std::map<std::pair<int, int>, int> counts;
  for (const PictureItem& p : in.pictures) {
    if (p.ok) ++counts[{p.width, p.height}];
  }
  if (counts.empty()) return std::nullopt;
  const auto most = std::max_element(counts.begin(), counts.end(),
                                     [](const auto& a, const auto& b) { return a.second < b.second; });
  *count = most->second;
  return most->first;
}

std::string ScreensSection(const Inspection& in, const PngSink& sink, const std::string& images) {
  std::string h = "<section id=\"screens\"><h2>" +
                  HtmlEscaped(trText("Inspect", "Screens (%1)").arg(in.pictures.size())) + "</h2>\n";
  if (in.pictures.empty()) {
    return h + "<p>" + HtmlEscaped(trText("Inspect", "No screen picture.")) + "</p></section>\n";
  }
  int count = 0;
  const auto common = CommonSize(in, &count);
  // The screens whose loss shows, each a link to its place below.
  std::string lossy;
  for (const PictureItem& p : in.pictures) {
    if (!p.loss.visible()) continue;
    lossy += std::string(lossy.empty() ? "" : ", ") + "<a href=\"#" + PictureName(p) + "\">" +
             NumberText(p.number) + "</a>";
  }
  if (!lossy.empty()) {
    // The text escaped, then the links put in its place holder.
    std::string text = HtmlEscaped(trText("Inspect",
                                     "Differ visibly from their sources: %1. The lossless format "
                                     "(zbmp) keeps them exact.")
                                  .arg("\x01")
                                  .str());
    if (const std::size_t at = text.find('\x01'); at != std::string::npos) {
      text.replace(at, 1, lossy);
    }
    h += "<p class=\"odd\">" + text + "</p>\n";
  }
  if (common && count == static_cast<int>(in.pictures.size())) {
    h += "<p>" +
         HtmlEscaped(trText("Inspect", "Every screen is %1 × %2 (as stored).")
                    .arg(common->first)
                    .arg(common->second)) +
         "</p>\n";
  } else if (common) {
    h += "<p>" +
         HtmlEscaped(trText("Inspect", "%1 of %2 screens are %3 × %4 (as stored); the others are marked.")
                    .arg(count)
                    .arg(in.pictures.size())
                    .arg(common->first)
                    .arg(common->second)) +
         "</p>\n";
  }
  const int rotation = sink.rotation();
  h += "<div class=\"grid\">\n";
  for (const PictureItem& p : in.pictures) {
    const std::string name = PictureName(p);
    const bool odd = common && p.ok && std::make_pair(p.width, p.height) != *common;
    std::string caption = "<figcaption><b>" + NumberText(p.number) + "</b> &nbsp;" +
                          (odd ? "<span class=\"odd\">" : "<span>") + NumberText(p.width) + " &times; " +
                          NumberText(p.height) + "</span> &middot; " + HtmlEscaped(p.format) + " &middot; " +
                          HtmlEscaped(DataSize(p.bytes)) + "<br>" + HtmlEscaped(p.file) +
                          OriginText(p.origin) + StoredText(rotation);
    if (odd) {
      caption += "<br><span class=\"odd\">" +
                 HtmlEscaped(trText("Inspect", "not the size of the other screens")) + "</span>";
    }
    if (p.loss.measured) {
      caption += std::string("<br><span") + (p.loss.visible() ? " class=\"odd\"" : "") + ">" +
                 HtmlEscaped(trText("Inspect", "against the source: %1 dB, largest error %2")
                            .arg(p.loss.psnr, 1)
                            .arg(p.loss.maxError)) +
                 "</span>";
    }
    caption += "</figcaption>";
    const std::string file = sink.screenFile(name);
    if (!p.ok || file.empty()) {
      h += "<figure class=\"screen bad\" id=\"" + name + "\">" +
           trText("Inspect", "%1 cannot be shown").arg("<b>" + NumberText(p.number) + "</b>").str() +
           caption + "</figure>\n";
      continue;
    }
    const auto [w, hgt] = ShownSize(p.width, p.height, rotation);
    const bool paired = sink.has(name + "-source.png");
    const int box = paired ? kScreenBox : kScreenBox * 2;
    const std::string full = images + "/" + file;
    std::string img = "<a href=\"" + full + "\"><img src=\"" + full + "\"" + Fitted(w, hgt, box) +
                      " loading=\"lazy\" alt=\"" + name + "\"></a>";
    if (paired) {
      const std::string source = images + "/" + name + "-source.png";
      img = "<div class=\"pair\"><div><span>" + HtmlEscaped(trText("Inspect", "on the display")) +
            "</span>" + img + "</div><div><span>" + HtmlEscaped(trText("Inspect", "source")) +
            "</span><a href=\"" + source + "\"><img src=\"" + source + "\"" +
            Fitted(w, hgt, box) + " loading=\"lazy\" alt=\"" + name + "-source\"></a></div></div>";
    }
    h += std::string("<figure class=\"screen") + (p.loss.visible() ? " lossy" : "") +
         "\" id=\"" + name + "\">" + img + caption + "</figure>\n";
  }
  return h + "</div></section>\n";
}

// Small icons are shown larger, pixel for pixel.
int IconZoom(int width, int height) {
  const int side = std::max(width, height);
  return side <= 24 ? 4 : side <= 96 ? 2 : 1;
}

std::string IconsSection(const Inspection& in, const PngSink& sink, const std::string& images) {
  std::string h = "<section id=\"icons\"><h2>" +
                  HtmlEscaped(trText("Inspect", "Icon libraries (%1)").arg(in.libraries.size())) +
                  "</h2>\n";
  if (in.libraries.empty()) {
    return h + "<p>" + HtmlEscaped(trText("Inspect", "No icon library.")) + "</p></section>\n";
  }
  const int rotation = sink.rotation();
  for (const LibraryItem& lib : in.libraries) {
    const Text counts = lib.empty ? trText("Inspect", "%1 icons, %2 (empty)")
                                  : trText("Inspect", "%1 icons, %2");
    h += "<h3 id=\"" + LibraryAnchor(lib) + "\">" + HtmlEscaped(lib.file) + " &mdash; " +
         HtmlEscaped(Text(counts).arg(lib.icons.size()).arg(DataSize(lib.bytes))) + "</h3>\n";
    // Where it came from and how it is stored, each on a line of its own.
    std::string about = OriginText(lib.origin) + StoredText(rotation);
    if (about.rfind("<br>", 0) == 0) about.erase(0, 4);
    if (!about.empty()) h += "<p>" + about + "</p>\n";
    h += "<div class=\"icons\">\n";
    for (const IconItem& icon : lib.icons) {
      const std::string name = IconName(lib, icon) + ".png";
      const std::string caption = "<figcaption>" + HtmlEscaped(trText("Inspect", "id %1").arg(icon.id)) +
                                  "<br>" + NumberText(icon.width) + "&times;" + NumberText(icon.height) +
                                  "</figcaption>";
      if (icon.ok && sink.has(name)) {
        const auto [w, hgt] = ShownSize(icon.width, icon.height, rotation);
        const int zoom = IconZoom(w, hgt);
        h += "<figure><a href=\"" + images + "/" + name + "\"><img src=\"" + images + "/" + name +
             "\" width=\"" + NumberText(w * zoom) + "\" height=\"" + NumberText(hgt * zoom) +
             "\" loading=\"lazy\" alt=\"" + HtmlEscaped(trText("Inspect", "icon %1").arg(icon.id)) +
             "\"></a>" + caption + "</figure>\n";
      } else {
        h += "<figure class=\"bad\">" + HtmlEscaped(trText("Inspect", "damaged")) + caption +
             "</figure>\n";
      }
    }
    h += "</div>\n";
  }
  return h + "</section>\n";
}

std::string PackSection(const Inspection& in) {
  if (!in.hasPack) return {};
  std::string h =
      "<section id=\"pack\"><h2>" +
      HtmlEscaped(trText("Inspect", "Picture pack (bin/image.idx, bin/image.bin): %1 entries")
                 .arg(in.pack.size())) +
      "</h2>\NumberText<table><tr><th>" + HtmlEscaped(trText("Inspect", "number")) + "</th><th>" +
      HtmlEscaped(trText("Inspect", "kind")) + "</th><th>" + HtmlEscaped(trText("Inspect", "address")) +
      "</th><th>" +
      HtmlEscaped(QCoreApplication::translate("Inspect", "size", "a picture's width and height")
                 .toStdString()) +
      "</th><th>" + HtmlEscaped(trText("Inspect", "length")) + "</th><th>" +
      HtmlEscaped(trText("Inspect", "state")) + "</th></tr>\n";
  for (const PackEntry& e : in.pack) {
    char address[16];
    std::snprintf(address, sizeof address, "0x%08X", e.address);
    char kind[8];
    std::snprintf(kind, sizeof kind, "0x%02X", e.kind);
    const std::string kindText =
        e.kind == 0x04   ? trText("Inspect", "%1 zlib rows").arg(kind).str()
        : e.kind == 0x08 ? trText("Inspect", "%1 JPEG").arg(kind).str()
                         : std::string(kind);
    h += "<tr><td>" + NumberText(e.number) + "</td><td>" + HtmlEscaped(kindText) + "</td><td>" + address +
         "</td><td>" + NumberText(e.width) + " &times; " + NumberText(e.height) + "</td><td>" +
         HtmlEscaped(DataSize(e.length)) + "</td>" +
         (e.error.empty() ? "<td>" + HtmlEscaped(trText("Inspect", "no problems found")) + "</td>"
                          : "<td class=\"bad\">" + HtmlEscaped(e.error) + "</td>") +
         "</tr>\n";
  }
  return h + "</table></section>\n";
}
std::string ConfigSection(const Inspection& in) {
  std::string h = "<section id=\"config\"><h2>" +
                  HtmlEscaped(trText("Inspect", "Device parameters (config.txt)")) + "</h2>\n";
  if (!in.config) {
    return h + "<p>" + HtmlEscaped(trText("Inspect", "No config.txt could be read.")) +
           "</p></section>\n";
  }
  h += "<table><tr><th>" + HtmlEscaped(trText("Inspect", "参数")) + "</th><th>" +
       HtmlEscaped(trText("Inspect", "--set name")) + "</th><th>" + HtmlEscaped(trText("Inspect", "value")) +
       "</th></tr>\n";
  for (const Parameter& p : in.config->parameters) {
    h += "<tr><td>" + HtmlEscaped(p.label) + "</td><td>" + HtmlEscaped(p.name) + "</td><td>" +
         HtmlEscaped(p.value) + "</td></tr>\n";
  }
  h += "</table>\NumberText<h3>" + HtmlEscaped(trText("Inspect", "Register lines")) + "</h3>\NumberText<pre>";
  for (const RegisterLine& r : in.config->registers) {
    h += HtmlEscaped(trText("Inspect", "line %1: %2").arg(r.line).arg(r.text)) + "\n";
  }
  return h + "</pre></section>\n";
}

std::string FontSection(const Inspection& in) {
  std::string h =
      "<section id=\"font\"><h2>" + HtmlEscaped(trText("Inspect", "Font (truefont/)")) + "</h2>\n";
  if (in.font.file.empty()) {
    return h + "<p>" + HtmlEscaped(trText("Inspect", "No font is named.")) + "</p></section>\n";
  }
  return h + "<table><tr><th>" + HtmlEscaped(trText("Inspect", "file")) + "</th><td>truefont/" +
         HtmlEscaped(in.font.file) + "</td></tr><tr><th>" + HtmlEscaped(trText("Inspect", "font")) +
         "</th><td>" +
         HtmlEscaped(in.font.name.empty() ? trText("Inspect", "(unreadable)").str() : in.font.name) +
         "</td></tr><tr><th>" +
         HtmlEscaped(QCoreApplication::translate("Inspect", "size", "of a file").toStdString()) +
         "</th><td>" +
         HtmlEscaped(DataSize(in.font.bytes)) +
         "</td></tr></table></section>\n";
}

// What the pictures show: turned as the display turns them, or as stored.
std::string RotationLine(const Inspection& in) {
  Text text = in.rotationFrom == RotationFrom::Option
                  ? trText("Inspect", "Every screen and icon is shown turned %1° clockwise, as "
                                      "--rotation asks: as the display shows it.")
              : in.rotationFrom == RotationFrom::Config
                  ? (in.displayRotation == 0
                         ? trText("Inspect", "config.txt sets no screen rotation: every screen "
                                             "and icon is shown as stored, as the display shows it.")
                         : trText("Inspect", "config.txt turns the screen %1° clockwise: every "
                                             "screen and icon is shown turned so, as the display "
                                             "shows it."))
                  : trText("Inspect", "No config.txt gives the screen rotation: every screen and "
                                      "icon is shown as stored (--rotation turns them).");
  text.arg(in.displayRotation * 90);
  return "<p class=\"turn\">" + HtmlEscaped(text) + "</p>\n";
}

// Links to every section and every icon library.
std::string ContentsSection(const Inspection& in) {
  auto item = [](const std::string& anchor, const std::string& text) {
    return "<li><a href=\"#" + anchor + "\">" + HtmlEscaped(text) + "</a>";
  };
  std::string h = "<nav><b>" + HtmlEscaped(trText("Inspect", "Contents")) + "</b><ul>\n";
  h += item("problems", trText("Inspect", "Problems (%1 faults, %2 notes)")
                            .arg(in.faults())
                            .arg(in.problems.size() - std::size_t(in.faults()))) +
       "</li>\n";
  h += item("screens", trText("Inspect", "Screens (%1)").arg(in.pictures.size())) + "</li>\n";
  h += item("icons", trText("Inspect", "Icon libraries (%1)").arg(in.libraries.size()));
  if (!in.libraries.empty()) {
    h += "<ul>";
    for (const LibraryItem& lib : in.libraries) h += item(LibraryAnchor(lib), lib.file) + "</li>";
    h += "</ul>";
  }
  h += "</li>\n";
  if (in.hasPack) h += item("pack", trText("Inspect", "Picture pack")) + "</li>\n";
  h += item("config", trText("Inspect", "Device parameters (config.txt)")) + "</li>\n";
  h += item("font", trText("Inspect", "Font (truefont/)")) + "</li>\n";
  return h + "</ul></nav>\n";
}

}  // namespace

bool WriteInspectPage(const fs::path& outputPath, const fs::path& pageFolder,
                      Inspection* inspection, std::string* error, int jobs) {
  InspectOptions options;
  options.jobs = jobs;
  return WriteInspectPage(outputPath, pageFolder, options, inspection, error);
}

bool WriteInspectPage(const fs::path& outputPath, const fs::path& pageFolder,
                      const InspectOptions& options, Inspection* inspection, std::string* error,
                      const PageProgress& progress) {
  auto fail = [&](std::string why) {
    if (error) *error = std::move(why);
    return false;
  };
  std::error_code ec;
  const fs::path privateFolder = OutputLayout::privateFolderOf(outputPath);
  if (fs::is_directory(privateFolder, ec) && PathIsInside(pageFolder, privateFolder)) {
    return fail(
        trText("Inspect", "the page folder %1 lies inside %2, which is copied to the SD card")
            .arg(PathToUtf8(pageFolder))
            .arg(PathToUtf8(privateFolder)));
  }
  // The folder named by the user may be a link to a folder; what the page
  // makes inside it never is. Nothing there is removed: the page shows only
  // the pictures it wrote.
  const fs::path images = pageFolder / kPageImageFolder;
  for (const fs::path& folder : {pageFolder, images}) {
    if (folder == pageFolder && fs::is_directory(pageFolder, ec)) continue;
    if (std::string problem = MakePageFolder(folder); !problem.empty()) return fail(problem);
  }
  if (std::string problem = PageFileProblem(pageFolder / "index.html"); !problem.empty()) {
    return fail(problem);
  }
  // The picture files the page will draw, for the progress.
  int pictures = 0;
  if (progress) {
    for (fs::directory_iterator it(OutputLayout::ofPrivateFolder(privateFolder).imageFolder(), ec), end; !ec && it != end; it.increment(ec)) {
      if (it->is_regular_file(ec)) ++pictures;
    }
    ec.clear();
  }
  PngSink sink(images, progress, pictures);
  Inspection in = InspectOutput(outputPath, &sink, options);
  if (const std::string failure = sink.firstFailure(); !failure.empty()) return fail(failure);

  const std::string where = in.privateFolder.empty() ? PathToUtf8(outputPath) : PathToUtf8(in.privateFolder);
  const char* lang = LanguageInUse() == Language::Chinese ? "zh-CN" : "en";
  std::string page =
      std::string("<!DOCTYPE html>\NumberText<html lang=\"") + lang +
      "\"><head><meta charset=\"utf-8\">\NumberText<title>" + HtmlEscaped("Tessel: " + where) +
      "</title>\NumberText<style>" + kStyle + "</style></head><body>\NumberText<h1>" +
      HtmlEscaped(trText("Inspect", "What the display will show")) + "</h1>\NumberText<p class=\"path\">" +
      HtmlEscaped(where) + " &middot; " +
      HtmlEscaped(trText("Inspect", "%1 screens, %2 icon libraries")
                 .arg(in.pictures.size())
                 .arg(in.libraries.size())) +
      "</p>\n" + RotationLine(in) + ContentsSection(in);
  page += ProblemsSection(in);
  page += ScreensSection(in, sink, kPageImageFolder);
  page += IconsSection(in, sink, kPageImageFolder);
  page += PackSection(in);
  page += ConfigSection(in);
  page += FontSection(in);
  page += "</body></html>\n";
  std::string why;
  if (!WritePageFile(pageFolder / "index.html",
                     ByteView(reinterpret_cast<const std::uint8_t*>(page.data()), page.size()),
                     &why)) {
    return fail(why);
  }
  if (inspection) *inspection = std::move(in);
  return true;
}

bool WritePreview(const fs::path& outputRoot, fs::path* page, std::string* error,
                  const PageProgress& progress) {
  const fs::path folder = OutputLayout(outputRoot).previewFolder();
  // The preview folder is the program's own: never a link.
  if (std::string problem = MakePageFolder(folder); !problem.empty()) {
    if (error) *error = std::move(problem);
    return false;
  }
  if (!WriteInspectPage(outputRoot, folder, InspectOptions{}, nullptr, error, progress)) {
    return false;
  }
  if (page) *page = folder / "index.html";
  return true;
}

}  // namespace tessel::inspect
