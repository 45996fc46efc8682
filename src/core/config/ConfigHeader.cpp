#include "config/ConfigHeader.h"

#include <algorithm>

#include "util/FileIO.h"

namespace tessel {

ConfigHeader MakeConfigHeader(ByteView head) {
  ConfigHeader header{};
  const std::size_t n = std::min(head.size(), header.size());
  std::copy_n(head.begin(), n, header.begin());
  return header;
}

std::optional<ConfigHeader> ReadConfigHeader(const std::filesystem::path& path) {
  if (path.empty()) return std::nullopt;
  auto head = ReadFile(path, kConfigHeaderSize, true);
  if (!head) return std::nullopt;
  return MakeConfigHeader(ByteView(*head));
}

bool HasMarker(const ConfigHeader& header, std::string_view marker) {
  const auto end = std::find(header.begin(), header.end(), std::uint8_t{0});
  const std::string_view text(reinterpret_cast<const char*>(header.data()),
                              static_cast<std::size_t>(end - header.begin()));
  return !marker.empty() && text.find(marker) != std::string_view::npos;
}

}  // namespace tessel
