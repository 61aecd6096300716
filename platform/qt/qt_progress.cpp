#include "platform/qt/qt_progress.h"

#include <QApplication>
#include <QDialog>
#include <QGuiApplication>
#include <QLabel>
#include <QProgressBar>
#include <QScreen>
#include <QVBoxLayout>

#include "platform/qt/qt_text.h"

namespace kontura {

QtProgress::QtProgress() = default;

QtProgress::~QtProgress() { Finish(); }

void QtProgress::Start(std::string_view caption, int32_t range, bool busy_cursor) {
  Finish();
  // No system buttons: the operation cannot be cancelled half way.
  m_window = std::make_unique<QDialog>(QApplication::activeWindow(),
                                       Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
  m_window->setObjectName(QStringLiteral("Progress"));
  m_window->setWindowTitle(caption.empty() ? QString::fromLatin1(kProgressDefaultCaption) : ToQString(caption));
  auto* layout = new QVBoxLayout(m_window.get());
  // The four text lines stay empty (and hidden) until a caller fills them.
  for (int i = 0; i < 4; ++i) {
    auto* line = new QLabel(m_window.get());
    line->setObjectName(QStringLiteral("lZeile%1").arg(i + 1));
    line->setAlignment(Qt::AlignCenter);
    line->hide();
    layout->addWidget(line);
  }
  m_bar = new QProgressBar(m_window.get());
  m_bar->setObjectName(QStringLiteral("pbFortschritt"));
  m_bar->setRange(0, std::max<int32_t>(range, 1));
  m_bar->setValue(0);
  layout->addWidget(m_bar);
  m_window->resize(360, m_window->sizeHint().height());
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    m_window->move(screen->availableGeometry().center() - m_window->rect().center());
  }
  m_window->show();
  if (busy_cursor) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    m_busy = true;
  }
  QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void QtProgress::Step(int32_t position) {
  if (!m_bar) return;
  m_bar->setValue(std::min(position, m_bar->maximum()));
  QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void QtProgress::Finish() {
  if (m_busy) {
    QApplication::restoreOverrideCursor();
    m_busy = false;
  }
  m_bar = nullptr;
  m_window.reset();
}

}  // namespace kontura
