#pragma once
// Builders shared by the configuration tests.
#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>

#include "config/ConfigHeader.h"
#include "util/Bytes.h"

namespace tessel::test {

// A header with `marker` at offset 0 and the given bytes set.
inline ConfigHeader header(std::string_view marker,
                           std::initializer_list<std::pair<int, std::uint8_t>> bytes) {
  ConfigHeader h{};
  for (std::size_t i = 0; i < marker.size(); ++i) h[i] = static_cast<std::uint8_t>(marker[i]);
  for (auto [offset, value] : bytes) h[static_cast<std::size_t>(offset)] = value;
  return h;
}

// The bytes of a text, without a copy.
inline ByteView bytesOf(const std::string& text) {
  return ByteView(reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
}

}  // namespace tessel::test
