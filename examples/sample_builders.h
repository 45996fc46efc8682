#pragma once
// Builders for sample and benchmark projects: UI-like screens, icons, icon
// libraries in the ICL and raw layouts, sounds and tables, all made in code.
#include <QColor>
#include <QImage>
#include <cstdint>
#include <filesystem>
#include <vector>

namespace sample {

using Bytes = std::vector<std::uint8_t>;

void save(const std::filesystem::path& path, const Bytes& data);
QImage screen(int w, int h, int index, QColor accent);
QImage icon(int size, int index);
Bytes encode(const QImage& image, const char* format, int quality = -1);
Bytes iclLibrary(const std::vector<Bytes>& jpegs);
Bytes rawLibrary(const std::vector<QImage>& icons);
Bytes wave(double frequency, double seconds);
Bytes table(unsigned seed, std::size_t size);

}  // namespace sample
