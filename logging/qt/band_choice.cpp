#include "logging/qt/band_choice.h"

#include <QKeyEvent>
#include <QListWidget>
#include <QVBoxLayout>

#include "platform/qt/qt_text.h"
#include "refdata/bands_modes.h"

namespace kontura {
namespace {

// Enter in the list closes the dialog with OK.
class BandList : public QListWidget {
 public:
  using QListWidget::QListWidget;
  std::function<void()> onEnter;

 protected:
  void keyPressEvent(QKeyEvent* event) override {
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && onEnter) {
      onEnter();
      return;
    }
    QListWidget::keyPressEvent(event);
  }
};

}  // namespace

TStdGetBand::TStdGetBand(const std::vector<char>& bands, char current, QWidget* parent)
    : QDialog(parent), m_bands(bands) {
  setObjectName(QStringLiteral("StdGetBand"));
  setWindowTitle(QStringLiteral("Band"));
  auto* layout = new QVBoxLayout(this);
  auto* list = new BandList(this);
  list->setObjectName(QStringLiteral("lbBand"));
  for (const char band : bands) list->addItem(ToQString(BandName(band, false)));
  for (size_t i = 0; i < bands.size(); ++i) {
    if (bands[i] == current) list->setCurrentRow(static_cast<int>(i));
  }
  if (list->currentRow() < 0 && list->count() > 0) list->setCurrentRow(0);
  list->onEnter = [this] { accept(); };
  connect(list, &QListWidget::itemDoubleClicked, this, [this] { accept(); });
  layout->addWidget(list);
  m_list = list;
  const int rows = std::max(1, list->count());
  resize(180, 40 + rows * list->sizeHintForRow(0));
  list->setFocus();
}

char TStdGetBand::SelectedBand() const {
  const int row = m_list->currentRow();
  return row >= 0 && static_cast<size_t>(row) < m_bands.size() ? m_bands[static_cast<size_t>(row)] : 0;
}

char ChooseBand(const std::vector<char>& bands, char current, QWidget* parent) {
  TStdGetBand dialog(bands, current, parent);
  return dialog.exec() == QDialog::Accepted ? dialog.SelectedBand() : 0;
}

}  // namespace kontura
