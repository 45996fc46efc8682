#include "support/TestSupport.h"

#include <QProcess>
#include <QPainter>
#include <atomic>
#include <chrono>
#include <fstream>
#include <random>
#include <mutex>
#include <sstream>
#include <zlib.h>

#include "cli/Cli.h"
#include "util/Paths.h"

namespace tessel::test {

TempDir::TempDir() {
  static std::atomic<int> counter{0};
  const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
  std::random_device rd;
  path_ = fs::temp_directory_path() /
          ("tessel-test-" + std::to_string(stamp) + "-" + std::to_string(rd()) + "-" +
           std::to_string(counter++));
  fs::create_directories(path_);
}

TempDir::~TempDir() {
  std::error_code ec;
  // Tests may leave read-only files behind; make them writable first.
  for (auto it = fs::recursive_directory_iterator(path_, ec);
       !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
    if (!it->is_symlink()) fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ec);
  }
  fs::remove_all(path_, ec);
}

fs::path TempDir::operator/(const std::string& name) const { return path_ / PathFromUtf8(name); }

void writeBytes(const fs::path& path, ByteView data) {
  if (path.has_parent_path()) fs::create_directories(path.parent_path());
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(data.data()), static_cast<std::streamsize>(data.size()));
}

void writeText(const fs::path& path, const std::string& text) {
  writeBytes(path, ByteView(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
}

Bytes readBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string readText(const fs::path& path) {
  const Bytes b = readBytes(path);
  return std::string(b.begin(), b.end());
}

QImage patternImage(int width, int height) {
  QImage image(width, height, QImage::Format_RGB32);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      image.setPixel(x, y, qRgb((x * 255) / std::max(1, width - 1),
                                (y * 255) / std::max(1, height - 1), ((x + y) * 7) & 0xFF));
    }
  }
  if (width >= 8 && height >= 8) {
    QPainter p(&image);
    p.fillRect(1, 1, width / 4, height / 4, Qt::red);
    p.fillRect(width - width / 4 - 1, height - height / 4 - 1, width / 4, height / 4, Qt::blue);
  }
  return image;
}

Bytes patternJpeg(int width, int height) {
  return build::encode(patternImage(width, height), "JPG", 90);
}

Bytes solidJpeg(int width, int height, QColor color) {
  QImage image(width, height, QImage::Format_RGB32);
  image.fill(color);
  return build::encode(image, "JPG", 95);
}

void writePicture(const fs::path& path, int width, int height) {
  const std::string ext = AsciiLower(PathToUtf8(path.extension()));
  const char* format = (ext == ".jpg" || ext == ".jpeg") ? "JPG" : "BMP";
  QImage image = patternImage(width, height);
  if (ext == ".bmp") image = image.convertToFormat(QImage::Format_RGB888);
  writeBytes(path, build::encode(image, format, 95));
}

std::vector<std::string> listTree(const fs::path& root) {
  std::vector<std::string> out;
  std::error_code ec;
  for (auto it = fs::recursive_directory_iterator(root, ec);
       !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
    std::string rel = PathToUtf8(fs::relative(it->path(), root).generic_u8string());
    if (it->is_directory() && !it->is_symlink()) rel += '/';
    out.push_back(rel);
  }
  std::sort(out.begin(), out.end());
  return out;
}

std::map<std::string, std::string> treeSnapshot(const fs::path& root) {
  std::map<std::string, std::string> out;
  std::error_code ec;
  for (auto it = fs::recursive_directory_iterator(root, ec);
       !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
    const std::string rel = PathToUtf8(fs::relative(it->path(), root).generic_u8string());
    if (it->is_symlink()) {
      out[rel] = "-> " + PathToUtf8(fs::read_symlink(it->path(), ec));
    } else if (it->is_directory()) {
      out[rel] = "/";
    } else {
      const Bytes b = readBytes(it->path());
      out[rel] = std::string(b.begin(), b.end());
    }
  }
  return out;
}

Bytes inflate(ByteView stream, std::size_t expectedSize) {
  Bytes out(expectedSize + 1);
  uLongf len = static_cast<uLongf>(out.size());
  if (uncompress(out.data(), &len, stream.data(), static_cast<uLong>(stream.size())) != Z_OK) {
    return {};
  }
  out.resize(len);
  return out;
}

bool FailingWrites::fails(const fs::path& path) const {
  if (!name_.empty() && PathToUtf8(path.filename()) != name_) return false;
  return seen_++ >= after_;
}

IconEntries readIconEntries(ByteView data, IconLayout layout) {
  IconEntries library;
  library.scan = ReadIconLibrary(data, layout,
                                 [&](IconEntry&& e) { library.entries.push_back(std::move(e)); });
  return library;
}

CliRun runCli(const std::vector<std::string>& args, const std::string& input) {
  QStringList arguments{QStringLiteral("tessel-cli")};
  for (const auto& a : args) arguments << QString::fromStdString(a);
  std::ostringstream out, err;
  std::istringstream in(input);
  cli::CliIo io{out, err, in, false, false, std::nullopt};  // texts as written
  // The program would find its fonts beside itself.
  SetProgramFolder(PathFromUtf8(TESSEL_BIN_DIR));
  CliRun r;
  r.status = cli::RunCli(arguments, io);
  r.out = out.str();
  r.err = err.str();
  return r;
}

CliRun runCliProcess(const std::vector<std::string>& args,
                     const std::vector<std::pair<std::string, std::string>>& environment) {
  QProcess p;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  for (const auto& [name, value] : environment) {
    if (value.empty())
      env.remove(QString::fromStdString(name));
    else
      env.insert(QString::fromStdString(name), QString::fromStdString(value));
  }
  p.setProcessEnvironment(env);
  QStringList arguments;
  for (const auto& a : args) arguments << QString::fromStdString(a);
  p.start(QString::fromUtf8(TESSEL_CLI_PATH), arguments);
  p.waitForStarted();
  p.closeWriteChannel();
  p.waitForFinished(120000);
  CliRun r;
  r.status = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -2;
  r.out = p.readAllStandardOutput().toStdString();
  r.err = p.readAllStandardError().toStdString();
  return r;
}

CliRun runShell(const std::string& script) {
  QProcess p;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("T", QString::fromUtf8(TESSEL_CLI_PATH));
  p.setProcessEnvironment(env);
  p.start("/bin/sh", {"-c", QString::fromStdString(script)});
  p.waitForFinished(300000);
  CliRun r;
  r.status = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -2;
  r.err = p.readAllStandardError().toStdString();
  return r;
}

std::string shellQuoted(const fs::path& path) { return "'" + path.native() + "'"; }

std::string lockOf(const std::string& host, std::int64_t pid, std::int64_t secondsAgo) {
  const auto now = std::chrono::duration_cast<std::chrono::seconds>(
                       std::chrono::system_clock::now().time_since_epoch())
                       .count();
  return "tessel-lock 1\npid=" + std::to_string(pid) + "\nhost=" + host +
         "\nprogram=tessel-cli\nstarted=" + std::to_string(now - secondsAgo) + "\n";
}

Bytes qtRgb565Rows(const QImage& image) {
  const QImage rgb16 = image.convertToFormat(QImage::Format_RGB16);
  const std::size_t stride = std::size_t(rgb16.bytesPerLine());
  const std::size_t used = std::size_t(rgb16.width()) * 2;
  Bytes rows(stride * std::size_t(rgb16.height()), 0);
  for (int y = 0; y < rgb16.height(); ++y) {
    std::copy_n(rgb16.constScanLine(y), used, rows.begin() + std::ptrdiff_t(std::size_t(y) * stride));
  }
  return rows;
}

}  // namespace tessel::test
