// The saving half of the entry: the clock, the validity check, storing a
// QSO with its retries and call history, and the band and mode change.

#include <cstring>

#include "logging/call_book.h"
#include "logging/duplicate_check.h"
#include "logging/log_access.h"
#include "logging/log_renumbering.h"
#include "logging/mask_text.h"
#include "logging/points.h"
#include "logging/qso_entry.h"
#include "logging/score_totals.h"
#include "platform/platform.h"
#include "refdata/bands_modes.h"
#include "refdata/base_call.h"
#include "text/calendar.h"
#include "text/date_time_text.h"
#include "text/text_util.h"

namespace kontura {
namespace {

// Attempts of an add and of a rewrite, each a second later than the one
// before.
constexpr int kAttempts = 10;

// The exchange with its first 3 characters replaced by `report`.
std::string WithReport(const std::string& exchange, const std::string& report) {
  return report + (exchange.size() > 3 ? exchange.substr(3) : std::string());
}

}  // namespace

int32_t QsoEntry::UtcDate(int32_t* seconds) const {
  return ClockShiftedBy(m_ctx.Options.TimeOffsetHours, seconds);
}

void QsoEntry::Tick() {
  if (m_clock_paused) return;
  const LogOptions& o = m_ctx.Options;
  if (!o.AutoDate && !o.AutoTime) return;
  int32_t seconds = 0;
  const int32_t date = UtcDate(&seconds);
  if (o.AutoDate) {
    m_rec.SetQsoDate(date);
    m_mask[MaskField::kDate].text = DateToText("dd.mm.yyyy", date);
  }
  if (o.AutoTime) {
    m_rec.SetQsoTime(seconds);
    m_mask[MaskField::kTime].text = TimeToText("hh:mm:ss", seconds);
  }
  m_mask.RefreshLabels();
}

bool QsoEntry::IsComplete() {
  if (m_rec.QsoDate() <= 0 || m_rec.QsoTime() <= 0) return false;
  if (!IsAcceptableCall(m_rec.Call())) return false;
  const int rule = m_ctx.Definition.DupeRule;
  const std::string message = StoreDuplicateMessage(rule);
  if (message.empty()) return true;  // rule 5 is not checked before storing
  if (FindDuplicate(rule, BaseCall(TrimBlanks(m_rec.Call())), m_s.CurrentBand, m_s.CurrentMode)) {
    TheDialogs().Beep();
    TheDialogs().ShowMessage(message);
    return false;
  }
  return true;
}

bool QsoEntry::AddWithRetries() {
  Fileblock* log = TheLog();
  const QsoRecord before = m_rec;
  for (int attempt = 0; attempt < kAttempts; ++attempt) {
    m_rec.CopyTo(log->RecordBuffer());
    log->AddRecord();
    if (StorageErrorClass() == 0) {
      m_rec.SetRecordNo(LogRecord().RecordNo());
      return true;
    }
    m_rec.SetQsoTime(m_rec.QsoTime() + 1);
  }
  m_rec = before;
  return false;
}

void QsoEntry::RewriteWithRetries() {
  Fileblock* log = TheLog();
  for (int attempt = 0; attempt < kAttempts; ++attempt) {
    m_rec.CopyTo(log->RecordBuffer());
    log->UpdateRecord();
    if (StorageErrorClass() == 0) return;
    m_rec.SetQsoTime(m_rec.QsoTime() + 1);
  }
}

void QsoEntry::RecordHistory() {
  std::string name, qth;
  SplitNameQth(m_rec.NameQth(), &name, &qth);
  const std::string district = m_rec.Dok().empty() ? std::string() : m_rec.DistrictCode();
  RecordCallHistory(m_rec.Call(), district, name, qth);
}

bool QsoEntry::LogReadyForWriting() {
  if (!LogRebuildPending()) return true;
  // A failed rebuild left QSOs only in FHLKTEMP: the log is completed from
  // there before anything else is written into it.
  const bool paused = m_clock_paused;
  m_clock_paused = true;
  const bool done = RenumberLog(m_ctx.Options.ContestNumber) == RenumberResult::kDone;
  m_clock_paused = paused;
  return done;
}

SaveResult QsoEntry::Save(bool from_import) {
  ReadMask();
  if (!IsComplete()) return SaveResult::kIncomplete;
  m_s.LastQsoDate = m_rec.QsoDate();
  m_s.LastQsoTime = m_rec.QsoTime();
  m_s.LastFrequency = m_rec.Frequency();
  if (!m_s.Editing) {
    m_rec.SetQsoNo(m_s.NextQsoNo);
    m_rec.SetBandSerial2(m_s.NextBandSerial2);
    m_rec.SetModeSerial(static_cast<uint16_t>(m_s.NextModeSerial));
    m_rec.SetBandSerial(m_s.NextBandSerial);
    m_rec.SetQslSent(m_s.QslSendFlag);
  }
  // The points go in with the add, so that the rewrite below is needed only
  // when the clock moved on since the last tick.
  RecomputePoints(m_rec);
  if (!LogReadyForWriting() || !AddWithRetries()) {
    // Nothing was stored: no points, no totals, no call history; the QSO
    // stays in the mask for the operator.
    TheDialogs().Beep();
    TheDialogs().ShowMessage(kAddFailed);
    return SaveResult::kAddFailed;
  }
  const QsoRecord added = m_rec;
  if (!m_rec.IsBandChangeMarker()) CountStoredQso(m_s.Totals, m_s.CurrentBand, m_rec.Points());
  if (!from_import) {
    const bool paused = m_clock_paused;
    m_clock_paused = false;
    Tick();
    m_clock_paused = paused;
  }
  if (std::memcmp(added.data(), m_rec.data(), QsoRecord::size()) != 0) RewriteWithRetries();
  RecordHistory();
  NewQso();
  return SaveResult::kStored;
}

void QsoEntry::SelectBand(char band) {
  ReadMask();
  ChangeBand(band);
  FillMask();
}

void QsoEntry::ChangeBand(char band) {
  if (band == m_s.CurrentBand) return;
  m_s.CurrentBand = band;
  QsoRecord copy = m_rec;
  {
    SavedLogBuffer saved;
    m_s.NextBandSerial2 = NextBandSerialOf(11, band);
    m_s.NextBandSerial = NextBandSerialOf(12, band);
  }
  TakeBandTotals(m_s.Totals, band);
  copy.SetBand(band);
  EvaluateMultipliers(copy);
  m_s.LastFrequency = 0;
  m_rec = copy;
  m_rec.SetBandSerial2(m_s.NextBandSerial2);
  m_rec.SetBandSerial(m_s.NextBandSerial);
  m_mask.band_label = BandName(band, false);
}

void QsoEntry::ChangeMode(std::string_view mode) {
  ReadMask();
  const std::string m(mode.substr(0, 6));
  if (m == m_s.CurrentMode) return;
  m_s.CurrentMode = m;
  {
    SavedLogBuffer saved;
    m_s.NextModeSerial = NextModeSerialOf(m);
  }
  m_rec.SetModeSerial(static_cast<uint16_t>(m_s.NextModeSerial));
  TakeBandTotals(m_s.Totals, m_s.CurrentBand);
  m_rec.SetMode(m);
  EvaluateMultipliers(m_rec);
  m_s.LastFrequency = 0;
  const std::string report = DefaultReport(m);
  if (!m_ctx.Options.RstSentFree) m_rec.SetSentExchange(WithReport(m_rec.SentExchange(), report));
  if (!m_ctx.Options.RstRcvdFree) m_rec.SetRecvExchange(WithReport(m_rec.RecvExchange(), report));
  FillMask();
}

}  // namespace kontura
