#include "model/SourceInventory.h"

#include <algorithm>
#include <climits>

#include "util/Paths.h"

namespace tessel {

int FileNumber(const std::filesystem::path& path) {
  const std::string fileName = PathToUtf8(path.filename());
  const auto dot = fileName.rfind('.');
  const long long n = LeadingNumber(dot == std::string::npos ? fileName : fileName.substr(0, dot));
  return static_cast<int>(std::clamp<long long>(n, INT_MIN, INT_MAX));
}

}  // namespace tessel
