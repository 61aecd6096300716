#pragma once
// Answers the windows a window test opens, one script each in the order
// they come up; a window still open after its script is closed, so that a
// failing test never hangs. For the window tests only (Qt).

#include <QApplication>
#include <QDialog>
#include <QObject>
#include <QTimer>
#include <QWidget>

#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace kontura::testing {

class ModalScripts {
 public:
  // Modal windows are always answered; with `beside`, a modeless dialog
  // shown beside that window is answered too.
  explicit ModalScripts(const QWidget* beside = nullptr) : m_beside(beside) { Schedule(); }

  std::deque<std::function<void(QWidget&)>> scripts;
  std::vector<std::string> seen;  // object names of the windows handled, in order

 private:
  // A new single shot for every look: a script that opens a window of its
  // own runs inside that window's event loop, where the shot must fire
  // again (a repeating timer does not fire while its own slot runs).
  void Schedule() {
    QTimer::singleShot(5, &m_context, [this] { Poll(); });
  }

  void Poll() {
    Schedule();
    QWidget* w = Next();
    if (!w) return;
    w->setProperty("scripted", true);
    seen.push_back(w->objectName().toStdString());
    if (!scripts.empty()) {
      auto script = scripts.front();
      scripts.pop_front();
      script(*w);
    }
    if (w->isVisible()) w->close();
  }

  QWidget* Next() const {
    auto unscripted = [this](QWidget* w) {
      return w && w != m_beside && w->isVisible() && !w->property("scripted").toBool() ? w : nullptr;
    };
    if (QWidget* modal = QApplication::activeModalWidget()) return unscripted(modal);
    if (!m_beside) return nullptr;
    for (QWidget* w : QApplication::topLevelWidgets()) {
      if (qobject_cast<QDialog*>(w) && unscripted(w)) return w;
    }
    return nullptr;
  }

  const QWidget* m_beside;
  QObject m_context;  // the shots end with the scripts
};

}  // namespace kontura::testing
