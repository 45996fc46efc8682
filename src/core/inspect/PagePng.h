#pragma once
// The page's pictures as PNG files, written quickly: 8-bit RGB rows, each
// with the Sub filter (flat screens become runs of zeros), deflated with
// zlib's run-length strategy. Lossless: the PNG decodes to the picture's
// colours exactly as Qt expands them to 8 bits.
#include <QImage>

#include "util/Bytes.h"

namespace tessel::inspect {

// The PNG file of `image`; empty when memory runs out or the image is null.
Bytes EncodePagePng(const QImage& image);

}  // namespace tessel::inspect
