#include "AppIcon.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

namespace tessel {

QImage RenderTesselIcon(int size) {
  QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);

  const qreal margin = size / 16.0;
  const QRectF tile(margin, margin, size - 2 * margin, size - 2 * margin);
  const qreal radius = size / 8.0;
  QPainterPath outline;
  outline.addRoundedRect(tile, radius, radius);
  painter.fillPath(outline, QColor(0x1d, 0x3b, 0x53));
  painter.setClipPath(outline);

  // A 3 x 3 grid of squares, each cut along a diagonal whose direction turns
  // from square to square: a pinwheel tessellation.
  const QColor light(0x4f, 0xc3, 0xc7);
  const QColor warm(0xf2, 0xa6, 0x3b);
  const QColor pale(0xe8, 0xf1, 0xf2);
  const int cells = 3;
  const qreal inset = size / 10.0;
  const qreal cell = (tile.width() - 2 * inset) / cells;
  const qreal gap = std::max<qreal>(1.0, size / 64.0);
  for (int row = 0; row < cells; ++row) {
    for (int column = 0; column < cells; ++column) {
      const QRectF square(tile.left() + inset + column * cell + gap,
                          tile.top() + inset + row * cell + gap, cell - 2 * gap, cell - 2 * gap);
      const bool turn = (row + column) % 2 == 0;
      QPolygonF first, second;
      if (turn) {
        first << square.topLeft() << square.topRight() << square.bottomLeft();
        second << square.topRight() << square.bottomRight() << square.bottomLeft();
      } else {
        first << square.topLeft() << square.topRight() << square.bottomRight();
        second << square.topLeft() << square.bottomRight() << square.bottomLeft();
      }
      const bool centre = row == 1 && column == 1;
      painter.setPen(Qt::NoPen);
      painter.setBrush(centre ? warm : light);
      painter.drawPolygon(first);
      painter.setBrush(centre ? pale : (turn ? warm : pale));
      painter.drawPolygon(second);
    }
  }
  painter.setClipping(false);
  painter.setPen(QPen(QColor(0x0f, 0x22, 0x30), std::max<qreal>(1.0, size / 48.0)));
  painter.setBrush(Qt::NoBrush);
  painter.drawPath(outline);
  return image;
}

QIcon TesselIcon() {
  QIcon icon;
  for (int size : {16, 24, 32, 48, 64, 128, 256}) icon.addPixmap(QPixmap::fromImage(RenderTesselIcon(size)));
  return icon;
}

}  // namespace tessel
