#include "output/qt/adif_import_dialog.h"

#include <QCheckBox>
#include <QDragEnterEvent>
#include <QDataStream>
#include <QDropEvent>
#include <QMimeData>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>
#include <filesystem>

#include "logging/log_opening.h"
#include "platform/platform.h"
#include "platform/qt/qt_file_dialogs.h"
#include "platform/qt/qt_text.h"

namespace kontura {
namespace {

constexpr char kAdifFilter[] = "ADIF-Datei (*.adi, *.adif)|*.ADI;*.ADIF";

// The text of the list entry a drag carries (Qt's item model format).
QString DraggedText(const QMimeData* mime) {
  const QString format = QStringLiteral("application/x-qabstractitemmodeldatalist");
  if (mime == nullptr || !mime->hasFormat(format)) return {};
  QByteArray encoded = mime->data(format);
  QDataStream stream(&encoded, QIODevice::ReadOnly);
  int row = 0;
  int column = 0;
  QMap<int, QVariant> roles;
  stream >> row >> column >> roles;
  return stream.status() == QDataStream::Ok ? roles.value(Qt::DisplayRole).toString() : QString();
}

}  // namespace

AdifFieldDropList::AdifFieldDropList(QListWidget* source, QWidget* parent) : QListWidget(parent), m_source(source) {
  setAcceptDrops(true);
  setDragDropMode(QAbstractItemView::DropOnly);
}

QString AdifFieldDropList::DraggedTag(const QMimeData* mime) const {
  const QString tag = DraggedText(mime);
  // Only tags of the left list are taken.
  return !tag.isEmpty() && !m_source->findItems(tag, Qt::MatchExactly).isEmpty() ? tag : QString();
}

void AdifFieldDropList::dragEnterEvent(QDragEnterEvent* event) {
  if (!DraggedTag(event->mimeData()).isEmpty()) event->acceptProposedAction();
}

void AdifFieldDropList::dragMoveEvent(QDragMoveEvent* event) {
  if (!DraggedTag(event->mimeData()).isEmpty()) event->acceptProposedAction();
}

void AdifFieldDropList::dropEvent(QDropEvent* event) {
  const QString tag = DraggedTag(event->mimeData());
  QListWidgetItem* target = itemAt(event->position().toPoint());
  // Only onto an entry, and only onto one without a mapping.
  if (tag.isEmpty() || target == nullptr || target->text().contains(QLatin1Char('('))) return;
  event->setDropAction(Qt::CopyAction);
  event->accept();
  emit tagDropped(row(target), tag);
}

TFormadifimport::TFormadifimport(const TContestDefinition& def, FileDialogs& files, QWidget* parent)
    : QDialog(parent), m_files(files), m_fields(def) {
  setObjectName(QStringLiteral("TFormadifimport"));
  setWindowTitle(QStringLiteral("ADIF-Import"));
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel(
      QStringLiteral("Mit dieser Funktion können ADIF-Dateien anderer Logbücher eingelesen werden."), this));
  auto* choose = new QPushButton(QStringLiteral("ADIF-Datei auswählen"), this);
  choose->setObjectName(QStringLiteral("btndatei"));
  choose->setAutoDefault(false);
  layout->addWidget(choose, 0, Qt::AlignLeft);
  m_file_label = new QLabel(this);
  m_file_label->setObjectName(QStringLiteral("lDateiname"));
  layout->addWidget(m_file_label);

  auto* tabs = new QTabWidget(this);
  auto* page = new QWidget(tabs);
  auto* page_layout = new QVBoxLayout(page);
  page_layout->addWidget(new QLabel(
      QStringLiteral("Ziehen Sie mit der Maus die gewünschten Einträge aus der linken in die rechte Liste."), page));
  auto* lists = new QHBoxLayout;
  m_left = new QListWidget(page);
  m_left->setObjectName(QStringLiteral("ListeLinks"));
  m_left->setDragEnabled(true);
  m_left->setDragDropMode(QAbstractItemView::DragOnly);
  m_left->setDefaultDropAction(Qt::CopyAction);
  m_right = new AdifFieldDropList(m_left, page);
  m_right->setObjectName(QStringLiteral("ListeRechtsLB"));
  for (const std::string& entry : m_fields.entries()) m_right->addItem(ToQString(entry));
  auto column = [page](const QString& heading, QListWidget* list) {
    auto* box = new QVBoxLayout;
    box->addWidget(new QLabel(heading, page));
    box->addWidget(list);
    return box;
  };
  lists->addLayout(column(QStringLiteral("Felder der ADIF-Datei"), m_left));
  lists->addLayout(column(QStringLiteral("Felder im Log"), m_right));
  page_layout->addLayout(lists);
  tabs->addTab(page, QStringLiteral("Feldzuordnung"));
  layout->addWidget(tabs);

  auto* buttons = new QHBoxLayout;
  m_no_check = new QCheckBox(QStringLiteral("keine Mode/Band-Überprüfung"), this);
  m_no_check->setObjectName(QStringLiteral("checkkeincheck"));
  buttons->addWidget(m_no_check);
  buttons->addStretch();
  m_start = new QPushButton(QStringLiteral("Start"), this);
  m_start->setObjectName(QStringLiteral("btnimportstart"));
  m_start->setDefault(true);
  m_start->setEnabled(false);
  auto* cancel = new QPushButton(QStringLiteral("Abbruch"), this);
  cancel->setObjectName(QStringLiteral("btnAbbruch"));
  cancel->setAutoDefault(false);
  buttons->addWidget(m_start);
  buttons->addWidget(cancel);
  layout->addLayout(buttons);

  connect(choose, &QPushButton::clicked, this, [this] { btndateiClick(); });
  connect(m_start, &QPushButton::clicked, this, &QDialog::accept);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  connect(m_right, &AdifFieldDropList::tagDropped, this, &TFormadifimport::TagDropped);
  setFixedSize(sizeHint().expandedTo(QSize(560, 440)));
}

bool TFormadifimport::NoCheck() const { return m_no_check->isChecked(); }

void TFormadifimport::btndateiClick() {
  const std::optional<std::string> path = m_files.OpenFileName(kAdifFilter, "*.adi");
  if (path) LoadFile(*path);
}

void TFormadifimport::LoadFile(const std::string& path) {
  m_left->clear();
  m_file_label->setText(ToQString(path));
  std::error_code ec;
  if (!std::filesystem::is_regular_file(path, ec) || !ReadAdifFile(path, &m_records)) {
    m_records.clear();
    TheDialogs().ShowMessage(kAdifFileMissing);
    return;
  }
  for (const std::string& tag : CollectAdifTags(m_records)) m_left->addItem(ToQString(tag));
}

void TFormadifimport::TagDropped(int row, const QString& tag) {
  if (!m_fields.Map(static_cast<size_t>(row), FromQString(tag))) return;
  m_right->item(row)->setText(ToQString(m_fields.entries()[static_cast<size_t>(row)]));
  for (QListWidgetItem* item : m_left->findItems(tag, Qt::MatchExactly)) delete item;
  m_start->setEnabled(true);
}

void RunAdifImport(ContestLog& log, QWidget* parent) {
  QtFileDialogs files(parent);
  TFormadifimport dialog(log.context().Definition, files, parent);
  if (dialog.exec() != QDialog::Accepted) return;
  const ImportCounts counts = ImportAdifRecords(log, dialog.Records(), dialog.Fields(), dialog.NoCheck());
  TheDialogs().ShowMessage(ImportSummaryText(counts));
}

}  // namespace kontura
