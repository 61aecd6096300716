#include "logging/qt/qso_search.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "logging/qso_correction.h"
#include "platform/qt/qt_text.h"
#include "ui/qt/fk_brow.h"

namespace kontura {
namespace {

constexpr int kCallKey = 2;

}  // namespace

TSucheQE::TSucheQE(TfkBrow& brow, QWidget* parent) : QDialog(parent), m_brow(brow) {
  setObjectName(QStringLiteral("SucheQE"));
  setWindowTitle(QStringLiteral("Suche"));
  auto* layout = new QVBoxLayout(this);
  auto* row = new QHBoxLayout;
  auto* label = new QLabel(QStringLiteral("Rufzeichen:"), this);
  auto* call = new QLineEdit(this);
  call->setObjectName(QStringLiteral("eRufzeichen"));
  call->setMaxLength(14);
  label->setBuddy(call);
  row->addWidget(label);
  row->addWidget(call);
  layout->addLayout(row);
  auto* buttons = new QHBoxLayout;
  auto* search = new QPushButton(QStringLiteral("Suche starten"), this);
  search->setObjectName(QStringLiteral("btnSuchen"));
  search->setDefault(true);
  auto* cancel = new QPushButton(QStringLiteral("Abbruch"), this);
  cancel->setObjectName(QStringLiteral("btnAbbruch"));
  cancel->setAutoDefault(false);
  buttons->addStretch();
  buttons->addWidget(search);
  buttons->addWidget(cancel);
  layout->addLayout(buttons);
  m_call = call;
  connect(search, &QPushButton::clicked, this, [this] { StartSearch(); });
  connect(cancel, &QPushButton::clicked, this, [this] { reject(); });
  call->setFocus();
}

void TSucheQE::StartSearch() {
  const std::string key = CallSearchKey(FromQString(m_call->text()));
  if (m_brow.CurrentKeyNr() != kCallKey) m_brow.SetKeyNr(kCallKey);
  m_brow.GotoKey(key, 0);
  accept();
}

}  // namespace kontura
