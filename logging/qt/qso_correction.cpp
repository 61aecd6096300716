#include "logging/qt/qso_correction.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QScreen>
#include <QVBoxLayout>
#include <algorithm>

#include "logging/log_access.h"
#include "logging/log_opening.h"
#include "logging/qso_list_rows.h"
#include "logging/qt/band_choice.h"
#include "logging/qt/qso_detail.h"
#include "logging/qt/qso_list_view.h"
#include "logging/qt/qso_search.h"
#include "platform/qt/qt_text.h"
#include "ui/qt/fk_brow.h"

namespace kontura {
namespace {

constexpr int kFirstWidth = 1000;
constexpr int kFirstHeight = 520;

// The bands of the contest in their order.
std::vector<char> ContestBands(const TContestDefinition& def) {
  std::vector<char> bands;
  for (const char band : def.BandCodes) {
    if (band == 0) break;
    bands.push_back(band);
  }
  return bands;
}

}  // namespace

TKorrekturstd::TKorrekturstd(ContestLog& log, CorrectionMode mode, char band, QWidget* parent)
    : QDialog(parent), m_log(log), m_mode(mode), m_band(band) {
  setObjectName(QStringLiteral("Korrekturstd"));
  const CorrectionView view = CorrectionViewOf(mode, band);
  setWindowTitle(ToQString(view.caption));
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(4, 4, 4, 4);
  m_brow = new TfkBrow(this);
  m_brow->setObjectName(QStringLiteral("brow"));
  layout->addWidget(m_brow);
  InstallQsoListRows(*m_brow, log.contest_number());
  InstallQsoListCorrection(*m_brow, log, this);
  m_brow->OnProcessPostCommand = [this](const BrowKeyPress& key) {
    if (key.key != BrowKey::Escape) return false;
    close();
    return true;
  };
  resize(kFirstWidth, kFirstHeight);
  if (m_brow->BindFileblock(TheLog(), view.key_nr, view.low, view.high) && m_brow->Browser()->LastRecord()) {
    m_brow->Refresh();
  }
}

TKorrekturstd::~TKorrekturstd() = default;

void TKorrekturstd::RunModal(ListWindowGeometry& geometry) {
  m_geometry = &geometry;
  if (geometry.width > 0) {
    setGeometry(geometry.left, geometry.top, geometry.width, geometry.height);
  } else if (const QWidget* p = parentWidget()) {
    // Centred over the logging window, but never beyond the screen's edge:
    // the list is wider than a logging window at its narrowest.
    QRect r = rect();
    r.moveCenter(p->geometry().center());
    if (const QScreen* screen = p->screen()) {
      const QRect avail = screen->availableGeometry();
      r.moveLeft(std::clamp(r.left(), avail.left(), std::max(avail.left(), avail.right() - r.width() + 1)));
      r.moveTop(std::clamp(r.top(), avail.top(), std::max(avail.top(), avail.bottom() - r.height() + 1)));
    }
    move(r.topLeft());
  }
  if (m_mode == CorrectionMode::kCallSearch) {
    // Modal from the start: a window already shown does not become modal
    // by exec().
    setWindowModality(Qt::ApplicationModal);
    show();
    TSucheQE search(*m_brow, this);
    search.exec();
  }
  m_brow->setFocus();
  exec();
}

void TKorrekturstd::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape) {
    close();
    return;
  }
  QDialog::keyPressEvent(event);
}

void TKorrekturstd::done(int result) {
  StoreQsoListColumnWidths(m_log.contest_number(), QsoListColumnWidths(*m_brow));
  if (m_geometry) {
    const QRect g = geometry();
    *m_geometry = {g.left(), g.top(), g.width(), g.height()};
  }
  QDialog::done(result);
}

bool RunQsoCorrection(QWidget* parent, ContestLog& log, CorrectionMode mode, ListWindowGeometry& geometry) {
  char band = log.session().CurrentBand;
  if (mode == CorrectionMode::kBandLog) {
    band = ChooseBand(ContestBands(log.context().Definition), band, parent);
    if (band == 0) return false;
  }
  TKorrekturstd list(log, mode, band, parent);
  list.RunModal(geometry);
  return true;
}

ChangeOutcome ChangeQsoWithDialog(QWidget* parent, ContestLog& log, int32_t record_no) {
  QtQsoDetailRunner runner(parent);
  return ChangeQso(log, record_no, runner);
}

DeleteOutcome DeleteQsoWithDialogs(ContestLog& log, int32_t record_no) { return DeleteQso(log, record_no); }

}  // namespace kontura
