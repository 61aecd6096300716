#include "ui/qt/brow_pictures.h"

#include <QPainter>
#include <QPolygonF>

namespace kontura {
namespace {

constexpr int kSize = 10;

// A triangle pointing left or right, its tip at x.
void Triangle(QPainter& p, double x, bool right) {
  const double w = 4.0;
  QPolygonF t;
  if (right) {
    t << QPointF(x - w, 1.0) << QPointF(x, kSize / 2.0) << QPointF(x - w, kSize - 1.0);
  } else {
    t << QPointF(x + w, 1.0) << QPointF(x, kSize / 2.0) << QPointF(x + w, kSize - 1.0);
  }
  p.drawPolygon(t);
}

QPixmap Blank(int size) {
  QPixmap pm(size, size);
  pm.fill(Qt::transparent);
  return pm;
}

}  // namespace

QPixmap DrawNavPicture(NavPicture kind, const QColor& color) {
  QPixmap pm = Blank(kSize);
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(Qt::NoPen);
  p.setBrush(color);
  switch (kind) {
    case NavPicture::FirstRecord:  // |<
      p.drawRect(QRectF(1.0, 1.0, 1.5, kSize - 2.0));
      Triangle(p, 3.5, false);
      break;
    case NavPicture::PrevPage:  // <<
      Triangle(p, 1.0, false);
      Triangle(p, 5.0, false);
      break;
    case NavPicture::PrevRecord:  // <
      Triangle(p, 3.0, false);
      break;
    case NavPicture::NextRecord:  // >
      Triangle(p, 7.0, true);
      break;
    case NavPicture::NextPage:  // >>
      Triangle(p, 5.0, true);
      Triangle(p, 9.0, true);
      break;
    case NavPicture::LastRecord:  // >|
      Triangle(p, 6.5, true);
      p.drawRect(QRectF(7.5, 1.0, 1.5, kSize - 2.0));
      break;
  }
  return pm;
}

QPixmap DrawClosePicture(const QColor& color) {
  QPixmap pm = Blank(kSize);
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(color, 1.6));
  p.drawLine(QPointF(2, 2), QPointF(kSize - 2, kSize - 2));
  p.drawLine(QPointF(kSize - 2, 2), QPointF(2, kSize - 2));
  return pm;
}

QPixmap DrawSearchPicture(const QColor& color) {
  QPixmap pm = Blank(16);
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(color, 1.6));
  p.drawEllipse(QRectF(2, 2, 8, 8));
  p.setPen(QPen(color, 2.4, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(QPointF(9.5, 9.5), QPointF(14, 14));
  return pm;
}

}  // namespace kontura
