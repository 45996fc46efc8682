#pragma once
// The application icon, drawn in code: a square tile tessellated into
// triangles in two colours.
#include <QIcon>
#include <QImage>

namespace tessel {

QImage RenderTesselIcon(int size);
QIcon TesselIcon();

}  // namespace tessel
