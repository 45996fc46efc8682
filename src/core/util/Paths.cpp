#include "util/Paths.h"

#include <QDir>
#include <QStandardPaths>
#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fstream>
#include <mutex>
#include <system_error>

namespace tessel {

#ifdef _WIN32
QString ToQString(const fs::path& path) {
  return QString::fromStdU16String(path.u16string());
}

fs::path ToPath(const QString& text) {
  return fs::path(text.toStdU16String());
}
#else
namespace {
std::size_t Utf8Length(std::string_view s, std::size_t at);
// A byte that is not part of valid UTF-8 travels through a QString as a lone
// low surrogate (U+DC80..U+DCFF), so that the name comes back byte for byte.
constexpr char16_t kEscapedByte = 0xDC00;
}  // namespace

QString ToQString(const fs::path& path) {
  const std::string& bytes = path.native();
  std::string_view view(bytes);
  QString text;
  std::size_t start = 0;
  for (std::size_t i = 0; i < view.size();) {
    const unsigned char c = static_cast<unsigned char>(view[i]);
    if (c < 0x80) {
      ++i;
    } else if (const std::size_t n = Utf8Length(view, i)) {
      i += n;
    } else {
      text += QString::fromUtf8(view.data() + start, qsizetype(i - start));
      text += QChar(char16_t(kEscapedByte + c));
      start = ++i;
    }
  }
  text += QString::fromUtf8(view.data() + start, qsizetype(view.size() - start));
  return text;
}

fs::path ToPath(const QString& text) {
  std::string bytes;
  qsizetype start = 0;
  for (qsizetype i = 0; i < text.size(); ++i) {
    const char16_t u = text[i].unicode();
    if (u < kEscapedByte + 0x80 || u > kEscapedByte + 0xFF) continue;
    // A low surrogate that does not follow a high one is an escaped byte.
    if (i > 0 && text[i - 1].isHighSurrogate()) continue;
    bytes += text.mid(start, i - start).toStdString();
    bytes += static_cast<char>(u - kEscapedByte);
    start = i + 1;
  }
  bytes += text.mid(start).toStdString();
  return fs::path(bytes);
}
#endif

fs::path PathFromUtf8(const std::string& text) {
  return fs::path(std::u8string(text.begin(), text.end()));
}

std::string PathToUtf8(const fs::path& path) {
  const std::u8string s = path.u8string();
  return std::string(s.begin(), s.end());
}

fs::path DocumentsFolder() {
  // Without a real home folder there is no place of the user's to write to:
  // never fall back to the root of the file system.
  const QString home = QDir::homePath();
  if (home.isEmpty() || QDir(home).isRoot()) return {};
  std::error_code ec;
  const QString docs = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
  if (!docs.isEmpty() && !QDir(docs).isRoot()) {
    const fs::path folder = ToPath(docs);
    fs::create_directories(folder, ec);
    if (fs::is_directory(folder, ec)) return folder;
  }
  const fs::path h = ToPath(home);
  return fs::is_directory(h, ec) ? h : fs::path();
}

namespace {
std::mutex& ProgramMutex() {
  static std::mutex m;
  return m;
}
fs::path& ProgramFolderStorage() {
  static fs::path p;
  return p;
}
}  // namespace

fs::path ProgramFolder() {
  std::lock_guard lock(ProgramMutex());
  return ProgramFolderStorage();
}

void SetProgramFolder(const fs::path& folder) {
  std::lock_guard lock(ProgramMutex());
  ProgramFolderStorage() = folder;
}

std::vector<fs::path> ResourceSearchFolders() {
  std::vector<fs::path> folders;
  const auto add = [&folders](const fs::path& folder) {
    if (folder.empty()) return;
    const fs::path normal = folder.lexically_normal();
    for (const fs::path& known : folders) {
      if (known == normal) return;
    }
    folders.push_back(normal);
  };
  const fs::path own = ProgramFolder();
  add(own);
  if (!own.empty()) add(own / ".." / "share" / "tessel");
  add(PathFromUtf8(TESSEL_INSTALL_DATADIR));
  return folders;
}

fs::path FindResourceFile(const fs::path& name) {
  std::error_code ec;
  for (const fs::path& folder : ResourceSearchFolders()) {
    if (fs::is_regular_file(folder / name, ec)) return folder / name;
  }
  return {};
}

fs::path TranslationsFolder() {
  std::error_code ec;
  for (const fs::path& folder : ResourceSearchFolders()) {
    if (fs::is_directory(folder / "translations", ec)) return folder / "translations";
  }
  return {};
}

fs::path ResourceFolder() {
  std::error_code ec;
  for (const fs::path& folder : ResourceSearchFolders()) {
    for (const char* probe : {kFontTableFile, "font.ttf", "中英文.ttf"}) {
      if (fs::exists(folder / PathFromUtf8(probe), ec)) return folder;
    }
  }
  return ProgramFolder();
}

fs::path ResourceFile(const fs::path& folder, const std::string& name) {
  const fs::path direct = folder / PathFromUtf8(name);
  std::error_code ec;
  if (fs::exists(direct, ec)) return direct;
  std::ifstream table(folder / kFontTableFile, std::ios::binary);
  std::string line;
  while (std::getline(table, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty() || line.front() == '#') continue;
    const auto equals = line.find('=');
    if (equals == std::string::npos || line.compare(0, equals, name) != 0) continue;
    const std::string file = line.substr(equals + 1);
    if (file.empty()) break;
    const fs::path named = PathFromUtf8(file);
    return named.is_absolute() ? named : folder / named;
  }
  return direct;
}

namespace {
// Removes `entry` and, for a folder (not a link), everything in it first;
// goes on past failures and names the first entry that stayed.
void RemoveInside(const fs::path& entry, fs::path* left, std::string* reason) {
  std::error_code ec;
  if (fs::is_directory(fs::symlink_status(entry, ec))) {
    std::vector<fs::path> children;
    for (auto it = fs::directory_iterator(entry, ec); !ec && it != fs::directory_iterator();
         it.increment(ec)) {
      children.push_back(it->path());
    }
    std::sort(children.begin(), children.end());
    for (const fs::path& child : children) RemoveInside(child, left, reason);
  }
  std::error_code removed;
  fs::remove(entry, removed);
  if (removed && left && left->empty()) {
    *left = entry;
    if (reason) *reason = removed.message();
  }
}
}  // namespace

bool DeleteFolderTree(const fs::path& folder, fs::path* left, std::string* reason) {
  std::error_code ec;
  const auto status = fs::symlink_status(folder, ec);
  if (ec || !fs::exists(status)) return false;
  if (fs::is_symlink(status) || !fs::is_directory(status)) {
    // The folder itself is a link: remove the link, never its target.
    if (fs::remove(folder, ec) && !ec) return true;
    if (left) *left = folder;
    if (reason) *reason = ec.message();
    return false;
  }
  RemoveInside(folder, left, reason);
  std::error_code gone;
  return !fs::exists(fs::symlink_status(folder, gone));
}

bool SameFile(const fs::path& a, const fs::path& b) {
  std::error_code ec;
  return fs::equivalent(a, b, ec) && !ec;
}

bool FolderTreeHolds(const fs::path& tree, const fs::path& target) {
  std::error_code ec;
  if (!fs::is_directory(fs::symlink_status(tree, ec))) return false;
  // The target and every folder above it, by identity.
  std::vector<fs::path> wanted;
  const fs::path absolute = fs::absolute(target, ec);
  for (fs::path p = absolute; !p.empty(); p = p.parent_path()) {
    if (fs::exists(p, ec)) wanted.push_back(p);
    if (p == p.parent_path()) break;
  }
  const auto matches = [&](const fs::path& folder) {
    for (const fs::path& w : wanted) {
      if (SameFile(folder, w)) return true;
    }
    return false;
  };
  if (matches(tree)) return true;
  for (auto it = fs::recursive_directory_iterator(tree, ec);
       !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
    std::error_code type;
    if (it->is_directory(type) && !it->is_symlink(type) && matches(it->path())) return true;
  }
  return false;
}

namespace {
// A path that cannot be resolved (a link loop, a name too long) keeps its
// spelling: an empty path would lie "above" every other.
fs::path CanonicalAsFarAsPossible(const fs::path& p) {
  std::error_code ec;
  fs::path absolute = fs::absolute(p, ec);
  if (ec) absolute = p;
  const fs::path canonical = fs::weakly_canonical(absolute, ec);
  return (ec || canonical.empty() ? absolute : canonical).lexically_normal();
}
}  // namespace

std::string PathProblem(const fs::path& path) {
  std::error_code ec;
  const fs::path absolute = fs::absolute(path, ec);
  if (!ec) static_cast<void>(fs::weakly_canonical(absolute, ec));
  return ec ? ec.message() : std::string();
}

bool PathIsInside(const fs::path& inner, const fs::path& outer) {
  const fs::path a = CanonicalAsFarAsPossible(inner);
  const fs::path b = CanonicalAsFarAsPossible(outer);
  auto ai = a.begin();
  bool spelled = true;
  for (auto bi = b.begin(); bi != b.end(); ++bi) {
    if (bi->empty()) continue;  // trailing separator
    if (ai == a.end() || *ai != *bi) {
      spelled = false;
      break;
    }
    ++ai;
  }
  if (spelled) return true;
  // Spellings differ (a bind mount, a second name for a drive): compare the
  // identity of `inner` and of each folder above it with `outer`'s.
  std::error_code ec;
  if (!fs::exists(b, ec)) return false;
  for (fs::path p = a; !p.empty(); p = p.parent_path()) {
    if (fs::exists(p, ec) && SameFile(p, b)) return true;
    if (p == p.parent_path()) break;
  }
  return false;
}

namespace {
// The length of the UTF-8 sequence at `at`, or 0 when it is not one.
std::size_t Utf8Length(std::string_view s, std::size_t at) {
  const auto b = [&](std::size_t i) { return static_cast<unsigned char>(s[i]); };
  const unsigned char c = b(at);
  std::size_t n = 0;
  std::uint32_t min = 0;
  if (c >= 0xC2 && c <= 0xDF) {
    n = 2;
    min = 0x80;
  } else if (c >= 0xE0 && c <= 0xEF) {
    n = 3;
    min = 0x800;
  } else if (c >= 0xF0 && c <= 0xF4) {
    n = 4;
    min = 0x10000;
  } else {
    return 0;
  }
  if (at + n > s.size()) return 0;
  std::uint32_t code = c & (0xFF >> (n + 1));
  for (std::size_t i = 1; i < n; ++i) {
    if ((b(at + i) & 0xC0) != 0x80) return 0;
    code = (code << 6) | (b(at + i) & 0x3F);
  }
  if (code < min || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return 0;
  return n;
}
}  // namespace

std::string Printable(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    if (c >= 0x20 && c < 0x7F) {
      out += static_cast<char>(c);
      ++i;
    } else if (c == '\n') {
      out += "\\n";
      ++i;
    } else if (c == '\t') {
      out += "\\t";
      ++i;
    } else if (const std::size_t n = c >= 0x80 ? Utf8Length(text, i) : 0) {
      out.append(text.substr(i, n));
      i += n;
    } else if (c >= 0x80) {
      out += "\xEF\xBF\xBD";  // U+FFFD: a name in another encoding (GBK, say)
      ++i;
    } else {
      static constexpr char kHex[] = "0123456789ABCDEF";
      out += "\\x";
      out += kHex[c >> 4];
      out += kHex[c & 15];
      ++i;
    }
  }
  return out;
}

std::string AsciiLower(std::string text) {
  for (char& c : text) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return text;
}

long long LeadingNumber(const std::string& stem) {
  std::size_t i = 0;
  while (i < stem.size() && (stem[i] == ' ' || (stem[i] >= '\t' && stem[i] <= '\r'))) ++i;
  bool negative = false;
  if (i < stem.size() && (stem[i] == '+' || stem[i] == '-')) {
    negative = stem[i] == '-';
    ++i;
  }
  long long value = 0;
  bool any = false;
  while (i < stem.size() && stem[i] >= '0' && stem[i] <= '9') {
    any = true;
    if (value < LLONG_MAX / 10) value = value * 10 + (stem[i] - '0');
    ++i;
  }
  if (!any) return 0;
  return negative ? -value : value;
}

}  // namespace tessel
