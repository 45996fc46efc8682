// The page writer of tessel-cli inspect over an output tree made from
// arbitrary bytes: the input is a list of files, each one byte naming its
// place (below), two bytes (little-endian) of length and its bytes. The page
// is written or refused, never written outside its folder, and every file
// it names beside it is one it wrote.
#include <QByteArray>
#include <QRegularExpression>
#include <QString>
#include <atomic>
#include <filesystem>
#include <system_error>
#include <unistd.h>

#include "FuzzSupport.h"
#include "inspect/InspectPage.h"
#include "util/FileIO.h"
#include "util/Paths.h"

using namespace tessel;
namespace fs = std::filesystem;

namespace {

// The places a file of the tree may take: what a run writes, and names no
// run writes (a control character, a stray file).
const char* const kPlaces[] = {
    "image/0.zbmp",    "image/1.zbmp",          "image/2.jpg",         "image/65535.zbmp",
    "icon/0.zico",     "icon/7.zico",           "bin/image.idx",       "bin/image.bin",
    "config.txt",      "truefont/truefont.ini", "truefont/font.ttf",   "image/x\x1b[31m\n.zbmp",
    "bin/13.bin",      "stray.txt",
};
constexpr std::size_t kPlaceCount = sizeof kPlaces / sizeof kPlaces[0];

fs::path freshFolder() {
  static std::atomic<int> count{0};
  std::error_code ec;
  const fs::path folder = fs::temp_directory_path(ec) /
                          ("tessel-fuzz-page-" + std::to_string(getpid()) + "-" +
                           std::to_string(count++));
  fs::remove_all(folder, ec);
  fs::create_directories(folder, ec);
  return folder;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::setUpQt();
  const fs::path work = freshFolder();
  const fs::path priv = work / "out" / "private";
  std::size_t at = 0;
  while (at + 3 <= size) {
    const char* place = kPlaces[data[at] % kPlaceCount];
    const std::size_t length = std::min<std::size_t>(data[at + 1] | data[at + 2] << 8, size - at - 3);
    std::error_code ec;
    fs::create_directories((priv / place).parent_path(), ec);
    WriteFile(priv / place, {fuzz::view(data + at + 3, length)});
    at += 3 + length;
  }
  const fs::path page = work / "page";
  std::string error;
  const bool written = inspect::WriteInspectPage(work / "out", page, nullptr, &error, 2);
  TESSEL_FUZZ_CHECK(written || !error.empty());
  // Nothing beside the output and the page.
  std::error_code ec;
  for (const fs::directory_entry& entry : fs::directory_iterator(work, ec)) {
    const std::string name = entry.path().filename().string();
    TESSEL_FUZZ_CHECK(name == "out" || name == "page");
  }
  if (written) {
    // Every picture the page names lies in its folder.
    const auto html = ReadFile(page / "index.html");
    TESSEL_FUZZ_CHECK(html.has_value());
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(html->data()),
                                           qsizetype(html->size()));
    static const QRegularExpression source(QStringLiteral("src=\"([^\"]+)\""));
    for (auto it = source.globalMatch(text); it.hasNext();) {
      const fs::path named = page / ToPath(it.next().captured(1));
      TESSEL_FUZZ_CHECK(fs::is_regular_file(named, ec));
    }
  }
  fs::remove_all(work, ec);
  return 0;
}
