#include "logging/qt/log_window_pictures.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace kontura {
namespace {

constexpr int kIconSize = 32;

void DrawPicture(QPainter& p, ButtonPicture picture) {
  const QColor ink(20, 40, 110);
  p.setPen(QPen(ink, 2.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.setBrush(Qt::NoBrush);
  switch (picture) {
    case ButtonPicture::kClear:  // a sheet wiped clean: a cross in a circle
      p.setPen(QPen(QColor(170, 30, 30), 3, Qt::SolidLine, Qt::RoundCap));
      p.drawEllipse(QRectF(5, 5, 22, 22));
      p.drawLine(QPointF(11, 11), QPointF(21, 21));
      p.drawLine(QPointF(21, 11), QPointF(11, 21));
      break;
    case ButtonPicture::kMode: {  // a keyed carrier: dots and dashes
      p.setPen(QPen(ink, 4, Qt::SolidLine, Qt::RoundCap));
      p.drawLine(QPointF(5, 11), QPointF(15, 11));
      p.drawPoint(QPointF(21, 11));
      p.drawPoint(QPointF(27, 11));
      p.drawPoint(QPointF(6, 22));
      p.drawLine(QPointF(12, 22), QPointF(26, 22));
      break;
    }
    case ButtonPicture::kBand: {  // a wave
      QPainterPath wave(QPointF(3, 16));
      for (int i = 0; i < 4; ++i) {
        const double x = 3 + i * 6.5;
        wave.quadTo(QPointF(x + 3.25, i % 2 ? 28 : 4), QPointF(x + 6.5, 16));
      }
      p.drawPath(wave);
      break;
    }
    case ButtonPicture::kList:  // lines of a list
      for (int y : {8, 14, 20, 26}) p.drawLine(QPointF(6, y), QPointF(26, y));
      break;
    case ButtonPicture::kCorrection: {  // a pencil over a line
      p.drawLine(QPointF(4, 28), QPointF(28, 28));
      QPolygonF pencil;
      pencil << QPointF(8, 24) << QPointF(10, 18) << QPointF(23, 5) << QPointF(27, 9) << QPointF(14, 22);
      p.setBrush(QColor(240, 200, 60));
      p.drawPolygon(pencil);
      break;
    }
    case ButtonPicture::kCallSearch:  // a magnifier
      p.setPen(QPen(ink, 3, Qt::SolidLine, Qt::RoundCap));
      p.drawEllipse(QRectF(5, 5, 15, 15));
      p.drawLine(QPointF(18, 18), QPointF(27, 27));
      break;
    case ButtonPicture::kHelp: {
      QFont f = p.font();
      f.setBold(true);
      f.setPixelSize(24);
      p.setFont(f);
      p.drawText(QRectF(0, 0, kIconSize, kIconSize), Qt::AlignCenter, QStringLiteral("?"));
      break;
    }
    case ButtonPicture::kNote: {  // a page with a folded corner and lines
      QPolygonF page;
      page << QPointF(7, 4) << QPointF(20, 4) << QPointF(26, 10) << QPointF(26, 28) << QPointF(7, 28);
      p.setBrush(Qt::white);
      p.drawPolygon(page);
      p.setPen(QPen(ink, 1.5));
      for (int y : {14, 19, 24}) p.drawLine(QPointF(10, y), QPointF(23, y));
      break;
    }
    case ButtonPicture::kNameQth:  // a person
      p.drawEllipse(QRectF(11, 4, 10, 10));
      p.drawArc(QRectF(5, 16, 22, 20), 0, 180 * 16);
      break;
  }
}

}  // namespace

QIcon DrawnIcon(ButtonPicture picture) {
  QPixmap pm(kIconSize, kIconSize);
  pm.fill(Qt::transparent);
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  DrawPicture(p, picture);
  p.end();
  // Qt pales the picture of a disabled button by itself, so the operator
  // sees at a glance which keys act in the current area.
  return QIcon(pm);
}

CallLettering::CallLettering(QWidget* parent) : QWidget(parent) {
  QFont f = font();
  f.setFamily(QStringLiteral("Arial"));
  f.setBold(true);
  f.setPixelSize(26);
  setFont(f);
}

void CallLettering::SetCall(const QString& call) {
  m_call = call;
  updateGeometry();
  update();
}

QSize CallLettering::sizeHint() const {
  const QFontMetrics fm(font());
  return {fm.horizontalAdvance(m_call) + 4, fm.height() + 4};
}

void CallLettering::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.setFont(font());
  const QRect r = rect().adjusted(0, 0, -2, -2);
  // Darkest at the bottom right, white on top: the call stands out of the
  // window colour like raised letters.
  p.setPen(QColor(40, 40, 70));
  p.drawText(r.translated(2, 2), Qt::AlignRight | Qt::AlignVCenter, m_call);
  p.setPen(QColor(110, 110, 150));
  p.drawText(r.translated(1, 1), Qt::AlignRight | Qt::AlignVCenter, m_call);
  p.setPen(Qt::white);
  p.drawText(r, Qt::AlignRight | Qt::AlignVCenter, m_call);
}

}  // namespace kontura
