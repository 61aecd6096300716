#include "app/qt/contest_brow.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QFile>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

#include "app/contest_list.h"
#include "contest/contest_header.h"
#include "logging/qt/rig_settings_dialog.h"
#include "platform/platform.h"
#include "platform/qt/qt_documents.h"
#include "platform/qt/qt_text.h"
#include "refdata/suite_settings.h"
#include "storage/catalogue.h"
#include "ui/colour_scheme.h"
#include "ui/qt/fk_brow.h"

namespace kontura {
namespace {

constexpr int kMenueBeendenTag = 100;
constexpr int kHinweisTag = 98;  // keeps its own colour

QColor ColourOf(uint32_t colorref) {
  Rgb c = RgbOfColorRef(colorref);
  return QColor(c.r, c.g, c.b);
}

QLabel* MakeLabel(QWidget* parent, const char* name, const QString& text, int tag) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(QString::fromLatin1(name));
  label->setProperty("tag", tag);
  return label;
}

// A label that acts when clicked and reports the mouse over it.
class ClickLabel : public QLabel {
 public:
  using QLabel::QLabel;
  std::function<void()> onClick;
  std::function<void(bool)> onHover;

 protected:
  void mouseReleaseEvent(QMouseEvent* e) override {
    QLabel::mouseReleaseEvent(e);
    if (onClick) onClick();
  }
  void enterEvent(QEnterEvent* e) override {
    QLabel::enterEvent(e);
    if (onHover) onHover(true);
  }
  void leaveEvent(QEvent* e) override {
    QLabel::leaveEvent(e);
    if (onHover) onHover(false);
  }
};

}  // namespace

TContestBrow::TContestBrow(CatalogueActions* actions, LogWindowLauncher* log_window, QWidget* parent)
    : QWidget(parent),
      m_config_dialog(this),
      m_catalogue(m_session, m_config_dialog, log_window ? *log_window : m_unavailable_log_window,
                  [this] { return Placement(); }),
      m_actions(actions ? actions : &m_catalogue) {
  setObjectName(QStringLiteral("ContestBrow"));
  setMinimumSize(800, 600);
  resize(800, 600);
  BuildControls();
}

TContestBrow::~TContestBrow() {
  qApp->removeEventFilter(this);
  CloseSession();
}

QString TContestBrow::HelpFilePath() { return HelpPagePath(); }

void TContestBrow::BuildControls() {
  m_stripe = new QLabel(this);
  m_stripe->setObjectName(QStringLiteral("imgStreifen"));
  m_stripe->setScaledContents(true);
  m_side_picture = new QLabel(this);
  m_side_picture->setObjectName(QStringLiteral("imgSeite"));
  m_title_picture = new QLabel(this);
  m_title_picture->setObjectName(QStringLiteral("imgTitel"));

  m_heading = MakeLabel(this, "lUeberschrift", {}, 0);
  m_l_utils = MakeLabel(this, "lUtils", QStringLiteral("für"), 0);
  m_l_call = MakeLabel(this, "lCall", {}, 99);

  auto* beenden = new ClickLabel(QStringLiteral("    Beenden"), this);
  beenden->setObjectName(QStringLiteral("MenueBeenden"));
  beenden->setProperty("tag", kMenueBeendenTag);
  beenden->setCursor(Qt::PointingHandCursor);
  beenden->setAutoFillBackground(false);
  beenden->onClick = [this] { close(); };
  beenden->onHover = [beenden](bool over) { beenden->setAutoFillBackground(over); };
  m_menue_beenden = beenden;

  auto* product = new ClickLabel(QStringLiteral("Kontura Contest-Logger für den Großraum-Mobilwettbewerb 80m"), this);
  product->setObjectName(QStringLiteral("lProdukt"));
  product->setProperty("tag", 0);
  product->setCursor(Qt::PointingHandCursor);
  product->onClick = [this] { btnHilfeClick(); };
  product->onHover = [product](bool over) {
    QFont f = product->font();
    f.setUnderline(over);
    product->setFont(f);
  };
  m_product = product;

  m_hinweis_update = MakeLabel(
      this, "lhinweisupdate",
      QStringLiteral("Bitte prüfen Sie vor jedem Contest, ob eine neuere Version des Programms vorliegt "
                     "(README des Projekts, Abschnitt Status)."),
      0);
  m_hinweis_update->setWordWrap(true);
  m_hinweis_update2 = MakeLabel(
      this, "lhinweisupdate2",
      QStringLiteral("Installieren Sie bitte neue Versionen immer in ein neues leeres Verzeichnis oder "
                     "tauschen Sie nur die EXE-Dateien aus."),
      kHinweisTag);
  m_hinweis_update2->setWordWrap(true);
  QPalette yellow = m_hinweis_update2->palette();
  yellow.setColor(QPalette::WindowText, Qt::yellow);
  m_hinweis_update2->setPalette(yellow);

  m_panel = new QFrame(this);
  m_panel->setObjectName(QStringLiteral("pnlListe"));
  m_panel->setFrameShape(QFrame::StyledPanel);
  m_panel->setAutoFillBackground(true);
  m_panel_caption = MakeLabel(m_panel, "lListe", QStringLiteral("Liste der Conteste"), 98);
  QFont bold = m_panel_caption->font();
  bold.setBold(true);
  m_panel_caption->setFont(bold);
  m_list = new TfkBrow(m_panel);
  m_list->setObjectName(QStringLiteral("brContest"));

  auto button = [this](const char* name, const QString& text) {
    auto* b = new QPushButton(text, m_panel);
    b->setObjectName(QString::fromLatin1(name));
    b->setAutoDefault(false);
    return b;
  };
  m_btn_neu = button("btnNeu", QStringLiteral("Neu"));
  m_btn_starten = button("btnStarten", QStringLiteral("Starten"));
  m_btn_loeschen = button("btnLoeschen", QStringLiteral("Löschen"));
  m_btn_schliessen = button("btnSchliessen", QStringLiteral("Schließen"));
  m_btn_hilfe = button("btnHilfe", QStringLiteral("Hilfe"));
  m_btn_transceiver = button("btnTransceiver", QStringLiteral("Transceiver"));
  connect(m_btn_neu, &QPushButton::clicked, this, [this] {
    m_actions->New();
    PositionOnCurrentContest();
    RefreshCallLabel();
  });
  connect(m_btn_starten, &QPushButton::clicked, this, [this] { btnStartenClick(); });
  connect(m_btn_loeschen, &QPushButton::clicked, this, [this] {
    const int32_t contest = SelectedContest();
    if (contest <= 0) return;  // an empty list: nothing to delete
    m_actions->Delete(contest);
    PositionOnCurrentContest();
  });
  connect(m_btn_schliessen, &QPushButton::clicked, this, [this] { close(); });
  connect(m_btn_hilfe, &QPushButton::clicked, this, [this] { btnHilfeClick(); });
  connect(m_btn_transceiver, &QPushButton::clicked, this, [this] { EditRigSettings(this); });

  // Step 2 of the creation: heading and pictures stay hidden until known.
  m_heading->hide();
  m_title_picture->hide();
  m_side_picture->hide();
}

ContestBrowSession::Outcome TContestBrow::FormCreate() {
  const EditionData& edition = ThisEdition();
  setWindowTitle(ToQString(edition.windowCaption));
  LoadPictures();
  m_heading->setText(ToQString(edition.heading));
  QFont f = m_heading->font();
  f.setPointSize(edition.heading_font_size);
  f.setBold(true);
  m_heading->setFont(f);
  m_heading->show();

  if (QScreen* screen = QGuiApplication::primaryScreen()) move(screen->availableGeometry().topLeft());

  ContestBrowSession::Outcome outcome = m_session.Start();
  if (outcome != ContestBrowSession::Outcome::kReady) return outcome;

  m_menue_beenden->setText(QStringLiteral("    Beenden"));
  RefreshCallLabel();
  SetUpList();
  ApplyColourScheme();
  m_list->setFocus();
  qApp->installEventFilter(this);
  LayoutControls();
  return outcome;
}

void TContestBrow::ShowAndGreet() {
  show();
  if (m_session.ContestFileEmpty()) {
    QCoreApplication::processEvents();
    m_btn_neu->click();
  }
}

void TContestBrow::LoadPictures() {
  const EditionData& edition = ThisEdition();
  QPixmap title(ToQString(edition.titlePicture));
  if (!title.isNull()) {
    m_title_picture->setPixmap(title);
    m_title_picture->resize(title.size());
    m_title_picture->show();
  }
  QPixmap side(ToQString(edition.sidePicture));
  if (!side.isNull()) {
    m_side_picture->setPixmap(side);
    m_side_picture->resize(side.size());
    m_side_picture->show();
  }
  m_side_picture->setScaledContents(true);
}

void TContestBrow::SetUpList() {
  Fileblock* fhkk = ContestBrowSession::ContestFileblock();
  const char edition = m_session.EditionCode();
  m_list->OnBuildRow = [this](RowRec& row) { row.text = ContestBrowSession::ContestRowOfBuffer(m_list->CurrentKeyNr()); };
  m_list->OnSetHeaderFooter = [this] { m_list->SetHeaderFooter(ContestHeadingText(m_list->CurrentKeyNr()), ""); };
  m_list->OnInitSortList = [this] {
    m_list->ClearSortList();
    for (const char* caption : kContestSortCaptions) m_list->AddSortItem(caption);
  };
  m_list->OnSortList2Key = [edition](int i, std::string& low, std::string& high) {
    return ContestSortListToKey(i, edition, low, high);
  };
  m_list->OnBrowEnter = [this] { btnStartenClick(); };
  m_list->OnBrowDoppelKlick = [this] { btnStartenClick(); };
  // The browser has read the row's record and asked its question.
  m_list->OnLoesch_Feld = [] { return ConstContestHeader(CatalogueRecord(CatalogueId::kFhkk)).EntryName(); };
  m_list->OnDatensatz_Loeschen = [this] {
    return m_actions->DeleteWithoutQuestion(ConstContestHeader(CatalogueRecord(CatalogueId::kFhkk)).ContestNumber());
  };
  m_list->OnSuchFeld2KeyStr = [this, edition](const std::string& text) {
    return ContestCatalogue::QuickSearchKey(m_list->CurrentKeyNr(), edition, text);
  };

  std::string range(1, edition);
  if (!fhkk || !m_list->BindFileblock(fhkk, kContestListKeyName, range, range)) return;
  // Start on the contest with the latest start date.
  if (ContestBrowSession::SelectLatestContest()) PositionOnCurrentContest();
}

void TContestBrow::PositionOnCurrentContest() {
  std::string key;
  int32_t ref = -1;
  const uint8_t* current = CatalogueRecord(CatalogueId::kFhkk);
  // After a deletion the current record may be a contest of another edition,
  // which the list does not show.
  if (!ContestBrowSession::CurrentContestPosition(m_list->CurrentKeyNr(), &key, &ref) || !current ||
      ConstContestHeader(current).EditionCode() != m_session.EditionCode()) {
    m_list->Refresh();
    return;
  }
  m_list->GotoKey(key, ref);
}

void TContestBrow::btnStartenClick() {
  const int32_t contest = SelectedContest();
  if (contest <= 0) return;  // an empty list: nothing to start
  m_actions->Start(contest);
  PositionOnCurrentContest();
  RefreshCallLabel();
}

int32_t TContestBrow::SelectedContest() {
  if (!m_list->ReadCurrent()) return 0;
  const uint8_t* header = CatalogueRecord(CatalogueId::kFhkk);
  return header ? ConstContestHeader(header).ContestNumber() : 0;
}

WindowPlacement TContestBrow::Placement() const {
  const QRect g = geometry();
  return WindowPlacement{isMaximized(), g.x(), g.y(), g.width(), g.height()};
}

void TContestBrow::btnHilfeClick() { TheDocuments().OpenDocument(HelpFilePath().toStdString()); }

void TContestBrow::RefreshCallLabel() {
  m_l_call->setText(ToQString(ContestBrowSession::CallLabelText()));
  m_l_call->adjustSize();
  LayoutControls();
}

void TContestBrow::ApplyColourScheme() {
  const SuiteSettings& s = TheSuiteSettings();
  QPalette window = palette();
  window.setColor(QPalette::Window, ColourOf(s.BackgroundColour));
  setPalette(window);
  setAutoFillBackground(true);

  for (QLabel* label : findChildren<QLabel*>()) {
    bool ok = false;
    int tag = label->property("tag").toInt(&ok);
    if (!ok) continue;
    QPalette p = label->palette();
    switch (LabelRoleOfTag(tag)) {
      case LabelRole::kText: p.setColor(QPalette::WindowText, ColourOf(s.LabelTextColour)); break;
      case LabelRole::kHighlight: p.setColor(QPalette::WindowText, ColourOf(s.HighlightLabelColour)); break;
      case LabelRole::kMenuEntry:
        label->setText(ToQString(MenuEntryText(FromQString(label->text()), tag, label->width())));
        label->setFixedWidth(kMenuEntryWidth);
        p.setColor(QPalette::WindowText, ColourOf(s.LabelTextColour));
        p.setColor(QPalette::Window, ColourOf(s.BarColour).lighter(130));
        break;
      case LabelRole::kUnchanged:
      case LabelRole::kOther: break;
    }
    label->setPalette(p);
  }

  QPalette panel = m_panel->palette();
  panel.setColor(QPalette::Window, ColourOf(s.PanelColour));
  m_panel->setPalette(panel);
  QPalette header = m_list->palette();
  header.setColor(QPalette::Button, ColourOf(s.ListHeaderColour));
  header.setColor(QPalette::ButtonText, ColourOf(s.ListHeaderTextColour));
  header.setColor(QPalette::Window, ColourOf(s.PanelColour));
  m_list->setPalette(header);

  // The left stripe: background colour with the bar, stretched to the height.
  QPixmap stripe(kStripeWidth, kStripeHeight);
  stripe.fill(ColourOf(s.BackgroundColour));
  QPainter painter(&stripe);
  painter.fillRect(kStripeBarFrom, 0, kStripeBarTo - kStripeBarFrom, kStripeHeight, ColourOf(s.BarColour));
  painter.end();
  m_stripe->setPixmap(stripe);

  // The product notice is as wide as its first two words.
  QStringList words = m_product->text().split(QLatin1Char(' '));
  QString two = words.mid(0, 2).join(QLatin1Char(' '));
  m_product->setFixedWidth(m_product->fontMetrics().horizontalAdvance(two) + 4);
  m_product->setToolTip(m_product->text());
}

void TContestBrow::LayoutControls() {
  const int w = width();
  const int h = height();
  m_stripe->setGeometry(0, 0, kStripeWidth, h);
  if (m_side_picture->isVisible()) {
    m_side_picture->setGeometry(0, 0, kStripeWidth, std::min(m_side_picture->pixmap().height(), h / 3));
  }
  m_menue_beenden->setGeometry(kStripeBarFrom - 2, h - 60, kMenueBeendenTag > 0 ? kMenuEntryWidth : 0,
                               m_menue_beenden->sizeHint().height() + 4);

  int left = kStripeWidth + 10;
  if (m_title_picture->isVisible()) m_title_picture->move(left, 4);
  m_heading->adjustSize();
  m_heading->move(left + (m_title_picture->isVisible() ? m_title_picture->width() + 10 : 0), 8);

  m_l_call->adjustSize();
  m_l_call->move(w - 30 - m_l_call->width(), 10);
  m_l_utils->adjustSize();
  m_l_utils->move(m_l_call->x() - 20 - m_l_utils->width(), 10);

  // The notices sit at the bottom, as high as their wrapped texts need.
  const int notice_width = w - left - 10;
  const int product_height = m_product->sizeHint().height();
  const int update_height = m_hinweis_update->heightForWidth(notice_width);
  const int update2_height = m_hinweis_update2->heightForWidth(notice_width);
  const int notice_height = product_height + update_height + update2_height + 12;
  const int panel_top = 40;
  const int panel_width = w - left - 10;
  const int panel_height = h - panel_top - notice_height - 6;
  m_panel->setGeometry(left, panel_top, panel_width, panel_height);

  const int bh = m_btn_neu->sizeHint().height();
  m_panel_caption->adjustSize();
  m_panel_caption->move(8, 6);
  const int list_top = m_panel_caption->y() + m_panel_caption->height() + 4;
  m_list->setGeometry(6, list_top, panel_width - 12, panel_height - list_top - bh - 14);

  const int by = panel_height - bh - 8;
  int x = 8;
  for (QPushButton* b : {m_btn_neu, m_btn_starten, m_btn_loeschen}) {
    b->setGeometry(x, by, std::max(90, b->sizeHint().width()), bh);
    x += b->width() + 6;
  }
  int right = panel_width - 8;
  for (QPushButton* b : {m_btn_hilfe, m_btn_schliessen, m_btn_transceiver}) {
    int bw = std::max(90, b->sizeHint().width());
    right -= bw;
    b->setGeometry(right, by, bw, bh);
    right -= 6;
  }

  int ny = h - notice_height + 2;
  m_product->move(left, ny);
  m_product->resize(m_product->width(), product_height);
  ny += product_height + 4;
  m_hinweis_update->setGeometry(left, ny, notice_width, update_height);
  ny += update_height + 4;
  m_hinweis_update2->setGeometry(left, ny, notice_width, update2_height);
}

void TContestBrow::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  LayoutControls();
}

bool TContestBrow::AskToQuit() { return TheDialogs().AskYesNo("Programm beenden?"); }

bool TContestBrow::eventFilter(QObject* watched, QEvent* event) {
  // The window sees every key of its own controls first.
  if (event->type() == QEvent::KeyPress && isActiveWindow() && !QApplication::activeModalWidget()) {
    auto* w = qobject_cast<QWidget*>(watched);
    if (w && (w == this || isAncestorOf(w))) {
      auto* key = static_cast<QKeyEvent*>(event);
      if (key->modifiers() == Qt::NoModifier || key->modifiers() == Qt::KeypadModifier) {
        switch (key->key()) {
          case Qt::Key_Return:
          case Qt::Key_Enter:
          case Qt::Key_F10:
            m_btn_starten->click();
            return true;
          case Qt::Key_Escape:
            if (AskToQuit()) close();
            return true;
          default: break;
        }
      }
    }
  }
  return QWidget::eventFilter(watched, event);
}

void TContestBrow::closeEvent(QCloseEvent* event) {
  CloseSession();
  event->accept();
}

void TContestBrow::CloseSession() {
  if (m_session.started()) m_session.Close();
}

}  // namespace kontura
