#include "inspect/InspectPage.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QImageWriter>
#include <map>
#include <mutex>
#include <system_error>

#include "inspect/PageFolder.h"
#include "model/OutputLayout.h"
#include "util/FileIO.h"
#include "util/Language.h"
#include "util/Paths.h"
#include "util/Text.h"

namespace tessel::inspect {

namespace {

constexpr int kThumbnail = 240;  // longest side of a screen's thumbnail
constexpr int kPngQuality = 50;  // Qt's PNG quality: a middle zlib level, quick to write

std::string n(std::uint64_t v) { return std::to_string(v); }

// 1234567 -> "1,234,567"
std::string grouped(std::uint64_t v) {
  std::string digits = n(v), out;
  for (std::size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) out += ',';
    out += digits[i];
  }
  return out;
}

std::string escape(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (const char c : text) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      default: out += c;
    }
  }
  return out;
}

std::string pictureName(const PictureItem& item) {
  return std::string(item.inPack ? "pack-" : "picture-") + std::to_string(item.number);
}
std::string iconName(const LibraryItem& library, const IconItem& icon) {
  return "icon-" + std::to_string(library.number) + "-" + std::to_string(icon.entry);
}

// Writes the PNG files as the inspection decodes the pictures, on its
// worker threads, and remembers which were written.
class PngSink : public ImageSink {
 public:
  explicit PngSink(fs::path folder) : folder_(std::move(folder)) {}

  void picture(const PictureItem& item, const QImage& image) override {
    const std::string name = pictureName(item);
    bool ok = save(image, name + ".png");
    if (ok && (image.width() > kThumbnail || image.height() > kThumbnail)) {
      ok = save(image.scaled(kThumbnail, kThumbnail, Qt::KeepAspectRatio, Qt::SmoothTransformation),
                name + "-thumb.png");
      if (ok) remember(name + "-thumb.png");
    }
    if (ok) remember(name + ".png");
  }
  void icon(const LibraryItem& library, const IconItem& icon, const QImage& image) override {
    const std::string name = iconName(library, icon) + ".png";
    if (save(image, name)) remember(name);
  }

  bool has(const std::string& name) const {
    std::lock_guard<std::mutex> lock(mutex_);
    return written_.count(name) != 0;
  }
  std::string firstFailure() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return failure_;
  }

 private:
  // Encoded in memory and written fresh: never through a link, never by
  // opening what stands there (a FIFO would wait).
  bool save(const QImage& image, const std::string& name) {
    QBuffer png;
    png.open(QIODevice::WriteOnly);
    QImageWriter writer(&png, "png");
    writer.setQuality(kPngQuality);
    std::string why;
    if (writer.write(image)) {
      const QByteArray& bytes = png.data();
      if (WritePageFile(folder_ / name,
                        ByteView(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                                 std::size_t(bytes.size())),
                        &why)) {
        return true;
      }
    } else {
      why = trText("Inspect", "cannot write %1 (%2)")
                .arg(pathToUtf8(folder_ / name))
                .arg(writer.errorString());
    }
    std::lock_guard<std::mutex> lock(mutex_);
    if (failure_.empty()) failure_ = why;
    return false;
  }
  void remember(const std::string& name) {
    std::lock_guard<std::mutex> lock(mutex_);
    written_[name] = true;
  }

  fs::path folder_;
  mutable std::mutex mutex_;
  std::map<std::string, bool> written_;
  std::string failure_;
};

const char* kStyle = R"(
body{font:14px/1.45 "DejaVu Sans","Noto Sans CJK SC","Droid Sans Fallback",sans-serif;margin:24px;color:#1d2330;background:#f4f5f7}
h1{font-size:22px;margin:0 0 4px} h2{font-size:18px;margin:28px 0 10px;border-bottom:2px solid #c9ced6;padding-bottom:4px}
h3{font-size:15px;margin:18px 0 8px} .path{color:#5a6270;margin:0 0 16px;word-break:break-all}
ul.problems{list-style:none;padding:0;margin:0} ul.problems li{padding:6px 10px;margin:4px 0;border-radius:4px}
li.fault{background:#fde2e1;border-left:5px solid #c62828} li.note{background:#fff4d6;border-left:5px solid #d9a400}
.sound{background:#dff3e3;border-left:5px solid #2e7d32;padding:6px 10px;border-radius:4px}
.grid{display:flex;flex-wrap:wrap;gap:14px} figure{margin:0;background:#fff;border:1px solid #d5d9e0;border-radius:6px;padding:8px}
figure.screen img{display:block;max-width:240px;max-height:240px;background:#000}
figure.bad{border-color:#c62828;background:#fde2e1;max-width:260px}
figcaption{font-size:12px;color:#39404d;margin-top:6px} figcaption b{font-size:14px;color:#1d2330}
.icons{display:flex;flex-wrap:wrap;gap:8px} .icons figure{padding:6px;min-width:64px;text-align:center}
.icons img{max-width:96px;max-height:96px;image-rendering:pixelated;background:repeating-conic-gradient(#ddd 0 25%,#fff 0 50%) 50%/12px 12px}
table{border-collapse:collapse;background:#fff} th,td{border:1px solid #d5d9e0;padding:4px 10px;text-align:left;font-size:13px}
th{background:#e8ebf0} td.bad{color:#c62828} pre{background:#fff;border:1px solid #d5d9e0;padding:8px;margin:0}
)";

std::string problemsSection(const Inspection& in) {
  std::string h = "<section id=\"problems\"><h2>" +
                  escape(trText("Inspect", "Problems (%1 faults, %2 notes)")
                             .arg(in.faults())
                             .arg(in.problems.size() - std::size_t(in.faults()))) +
                  "</h2>\n";
  if (in.problems.empty()) {
    return h + "<p class=\"sound\">" +
           escape(trText("Inspect", "No problem found: the output is sound.")) + "</p></section>\n";
  }
  h += "<ul class=\"problems\">\n";
  for (const bool faults : {true, false}) {
    for (const Problem& p : in.problems) {
      if (p.fault != faults) continue;
      h += std::string("<li class=\"") + (p.fault ? "fault" : "note") + "\">" +
           escape(p.fault ? p.text : trText("Inspect", "note: %1").arg(p.text).str()) + "</li>\n";
    }
  }
  return h + "</ul></section>\n";
}

std::string screensSection(const Inspection& in, const PngSink& sink, const std::string& images) {
  std::string h = "<section id=\"screens\"><h2>" +
                  escape(trText("Inspect", "Screens (%1)").arg(in.pictures.size())) + "</h2>\n";
  if (in.pictures.empty()) {
    return h + "<p>" + escape(trText("Inspect", "No screen picture.")) + "</p></section>\n";
  }
  h += "<div class=\"grid\">\n";
  for (const PictureItem& p : in.pictures) {
    const std::string name = pictureName(p);
    const std::string caption =
        "<figcaption><b>" + n(p.number) + "</b> &nbsp;" + n(p.width) + " &times; " + n(p.height) +
        " &middot; " + escape(p.format) + " &middot; " +
        escape(trText("Inspect", "%1 bytes").arg(grouped(p.bytes))) + "<br>" + escape(p.file) +
        "</figcaption>";
    if (!p.ok || !sink.has(name + ".png")) {
      h += "<figure class=\"screen bad\">" +
           trText("Inspect", "%1 cannot be shown").arg("<b>" + n(p.number) + "</b>").str() +
           caption + "</figure>\n";
      continue;
    }
    const std::string full = images + "/" + name + ".png";
    const std::string thumb = sink.has(name + "-thumb.png") ? images + "/" + name + "-thumb.png" : full;
    h += "<figure class=\"screen\"><a href=\"" + full + "\"><img src=\"" + thumb + "\" alt=\"" +
         name + "\"></a>" + caption + "</figure>\n";
  }
  return h + "</div></section>\n";
}

std::string iconsSection(const Inspection& in, const PngSink& sink, const std::string& images) {
  std::string h = "<section id=\"icons\"><h2>" +
                  escape(trText("Inspect", "Icon libraries (%1)").arg(in.libraries.size())) +
                  "</h2>\n";
  if (in.libraries.empty()) {
    return h + "<p>" + escape(trText("Inspect", "No icon library.")) + "</p></section>\n";
  }
  for (const LibraryItem& lib : in.libraries) {
    const Text counts = lib.empty ? trText("Inspect", "%1 icons, %2 bytes (empty)")
                                  : trText("Inspect", "%1 icons, %2 bytes");
    h += "<h3>" + escape(lib.file) + " &mdash; " +
         escape(Text(counts).arg(lib.icons.size()).arg(grouped(lib.bytes))) +
         "</h3>\n<div class=\"icons\">\n";
    for (const IconItem& icon : lib.icons) {
      const std::string name = iconName(lib, icon) + ".png";
      const std::string caption = "<figcaption>" + escape(trText("Inspect", "id %1").arg(icon.id)) +
                                  "<br>" + n(icon.width) + "&times;" + n(icon.height) +
                                  "</figcaption>";
      if (icon.ok && sink.has(name)) {
        h += "<figure><img src=\"" + images + "/" + name + "\" alt=\"" +
             escape(trText("Inspect", "icon %1").arg(icon.id)) + "\">" + caption + "</figure>\n";
      } else {
        h += "<figure class=\"bad\">" + escape(trText("Inspect", "damaged")) + caption +
             "</figure>\n";
      }
    }
    h += "</div>\n";
  }
  return h + "</section>\n";
}

std::string packSection(const Inspection& in) {
  if (!in.hasPack) return {};
  std::string h =
      "<section id=\"pack\"><h2>" +
      escape(trText("Inspect", "Picture pack (bin/image.idx, bin/image.bin): %1 entries")
                 .arg(in.pack.size())) +
      "</h2>\n<table><tr><th>" + escape(trText("Inspect", "number")) + "</th><th>" +
      escape(trText("Inspect", "kind")) + "</th><th>" + escape(trText("Inspect", "address")) +
      "</th><th>" +
      escape(QCoreApplication::translate("Inspect", "size", "a picture's width and height")
                 .toStdString()) +
      "</th><th>" + escape(trText("Inspect", "length")) + "</th><th>" +
      escape(trText("Inspect", "state")) + "</th></tr>\n";
  for (const PackEntry& e : in.pack) {
    char address[16];
    std::snprintf(address, sizeof address, "0x%08X", e.address);
    char kind[8];
    std::snprintf(kind, sizeof kind, "0x%02X", e.kind);
    const std::string kindText =
        e.kind == 0x04   ? trText("Inspect", "%1 zlib rows").arg(kind).str()
        : e.kind == 0x08 ? trText("Inspect", "%1 JPEG").arg(kind).str()
                         : std::string(kind);
    h += "<tr><td>" + n(e.number) + "</td><td>" + escape(kindText) + "</td><td>" + address +
         "</td><td>" + n(e.width) + " &times; " + n(e.height) + "</td><td>" + grouped(e.length) +
         "</td>" +
         (e.error.empty() ? "<td>" + escape(trText("Inspect", "sound")) + "</td>"
                          : "<td class=\"bad\">" + escape(e.error) + "</td>") +
         "</tr>\n";
  }
  return h + "</table></section>\n";
}

std::string configSection(const Inspection& in) {
  std::string h = "<section id=\"config\"><h2>" +
                  escape(trText("Inspect", "Device parameters (config.txt)")) + "</h2>\n";
  if (!in.config) {
    return h + "<p>" + escape(trText("Inspect", "No config.txt could be read.")) +
           "</p></section>\n";
  }
  h += "<table><tr><th>" + escape(trText("Inspect", "参数")) + "</th><th>" +
       escape(trText("Inspect", "--set name")) + "</th><th>" + escape(trText("Inspect", "value")) +
       "</th></tr>\n";
  for (const Parameter& p : in.config->parameters) {
    h += "<tr><td>" + escape(p.label) + "</td><td>" + escape(p.name) + "</td><td>" +
         escape(p.value) + "</td></tr>\n";
  }
  h += "</table>\n<h3>" + escape(trText("Inspect", "Register lines")) + "</h3>\n<pre>";
  for (const RegisterLine& r : in.config->registers) {
    h += escape(trText("Inspect", "line %1: %2").arg(r.line).arg(r.text)) + "\n";
  }
  return h + "</pre></section>\n";
}

std::string fontSection(const Inspection& in) {
  std::string h =
      "<section id=\"font\"><h2>" + escape(trText("Inspect", "Font (truefont/)")) + "</h2>\n";
  if (in.font.file.empty()) {
    return h + "<p>" + escape(trText("Inspect", "No font is named.")) + "</p></section>\n";
  }
  return h + "<table><tr><th>" + escape(trText("Inspect", "file")) + "</th><td>truefont/" +
         escape(in.font.file) + "</td></tr><tr><th>" + escape(trText("Inspect", "font")) +
         "</th><td>" +
         escape(in.font.name.empty() ? trText("Inspect", "(unreadable)").str() : in.font.name) +
         "</td></tr><tr><th>" +
         escape(QCoreApplication::translate("Inspect", "size", "of a file").toStdString()) +
         "</th><td>" +
         escape(trText("Inspect", "%1 bytes").arg(grouped(in.font.bytes))) +
         "</td></tr></table></section>\n";
}

}  // namespace

bool WriteInspectPage(const fs::path& outputPath, const fs::path& pageFolder,
                      Inspection* inspection, std::string* error, int jobs) {
  auto fail = [&](std::string why) {
    if (error) *error = std::move(why);
    return false;
  };
  std::error_code ec;
  const fs::path privateFolder =
      fs::is_directory(outputPath / "private", ec) ? outputPath / "private" : outputPath;
  if (fs::is_directory(privateFolder, ec) && pathIsInside(pageFolder, privateFolder)) {
    return fail(
        trText("Inspect", "the page folder %1 lies inside %2, which is copied to the SD card")
            .arg(pathToUtf8(pageFolder))
            .arg(pathToUtf8(privateFolder)));
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

  PngSink sink(images);
  Inspection in = InspectOutput(outputPath, &sink, jobs);
  if (const std::string failure = sink.firstFailure(); !failure.empty()) return fail(failure);

  const std::string where = in.privateFolder.empty() ? pathToUtf8(outputPath) : pathToUtf8(in.privateFolder);
  const char* lang = LanguageInUse() == Language::Chinese ? "zh-CN" : "en";
  std::string page =
      std::string("<!DOCTYPE html>\n<html lang=\"") + lang +
      "\"><head><meta charset=\"utf-8\">\n<title>" + escape("Tessel: " + where) +
      "</title>\n<style>" + kStyle + "</style></head><body>\n<h1>" +
      escape(trText("Inspect", "What the display will show")) + "</h1>\n<p class=\"path\">" +
      escape(where) + " &middot; " +
      escape(trText("Inspect", "%1 screens, %2 icon libraries")
                 .arg(in.pictures.size())
                 .arg(in.libraries.size())) +
      "</p>\n";
  page += problemsSection(in);
  page += screensSection(in, sink, kPageImageFolder);
  page += iconsSection(in, sink, kPageImageFolder);
  page += packSection(in);
  page += configSection(in);
  page += fontSection(in);
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

bool WritePreview(const fs::path& outputRoot, fs::path* page, std::string* error) {
  const fs::path folder = OutputLayout(outputRoot).previewFolder();
  // The preview folder is the program's own: never a link.
  if (std::string problem = MakePageFolder(folder); !problem.empty()) {
    if (error) *error = std::move(problem);
    return false;
  }
  if (!WriteInspectPage(outputRoot, folder, nullptr, error)) return false;
  if (page) *page = folder / "index.html";
  return true;
}

}  // namespace tessel::inspect
