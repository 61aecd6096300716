#include "logging/qso_correction.h"

#include "logging/log_access.h"
#include "logging/log_opening.h"
#include "logging/mask_text.h"
#include "logging/points.h"
#include "logging/qso_keys.h"
#include "platform/platform.h"
#include "refdata/bands_modes.h"
#include "refdata/base_call.h"
#include "refdata/date_time_pictures.h"
#include "storage/key_encoding.h"
#include "text/date_time_text.h"
#include "text/text_util.h"

namespace kontura {
namespace {

constexpr size_t kQuestionCallMax = 20;

constexpr MaskField kSentFields[3] = {MaskField::kSent2, MaskField::kSent3, MaskField::kSent4};
constexpr MaskField kRecvFields[3] = {MaskField::kRecv2, MaskField::kRecv3, MaskField::kRecv4};

// Makes the QSO with `record_no` the log's buffer record; false when there is
// none or it is a band-change marker.
bool FindQso(int32_t record_no, QsoRecord* qso) {
  Fileblock* log = TheLog();
  if (log == nullptr) return false;
  log->FindExact(qso::kKeyRecordNo, NumberToKey(record_no));
  if (StorageErrorClass() != 0) return false;
  *qso = LogRecord();
  return !qso->IsBandChangeMarker();
}

// After a deletion or a relevant change: the numbers closed up, then the
// totals counted from the QSO lines and written into the header (the
// summary recounts first), so that header and exports equal the lines.
void SettleLog(ContestLog& log) {
  log.Renumber();
  log.StoreSummary();
}

char FirstChar(const std::string& text) { return text.empty() ? 0 : text[0]; }

std::string CharText(char c) { return c == 0 ? std::string() : std::string(1, c); }

}  // namespace

CorrectionView CorrectionViewOf(CorrectionMode mode, char band) {
  switch (mode) {
    case CorrectionMode::kCallSearch:
      return {kCorrectionCaption, qso::kKeyBaseCall, "0", std::string(1, '\xFF')};
    case CorrectionMode::kBandLog:
      return {kBandLogCaption, qso::kKeyBand, std::string(1, band), std::string(1, band)};
    case CorrectionMode::kCorrection:
      break;
  }
  return {kCorrectionCaption, qso::kKeyQsoNo, NumberToKey(1), NumberToKey(qso::kHighestNumber)};
}

std::string CallSearchKey(std::string_view typed) { return UpperGerman(BaseCall(UpperGerman(TrimBlanks(typed)))); }

std::string DeleteQuestion(std::string_view call) {
  return Concat({"Eintrag ", call.substr(0, kQuestionCallMax), " l\xF6schen?"});
}

DeleteOutcome DeleteQso(ContestLog& log, int32_t record_no) {
  QsoRecord qso;
  if (!FindQso(record_no, &qso)) return DeleteOutcome::kNothing;
  TheDialogs().ShowMessage(kDeleteInformation);
  if (!TheDialogs().AskYesNo(DeleteQuestion(qso.Call()))) return DeleteOutcome::kDeclined;
  // The dialogs may have let the list move the buffer: find the QSO again.
  if (!FindQso(record_no, &qso)) return DeleteOutcome::kNothing;
  TheLog()->DeleteRecord(kAfterNone);
  if (StorageErrorClass() != 0) return DeleteOutcome::kFailed;
  SettleLog(log);
  return DeleteOutcome::kDeleted;
}

QsoDetailModel FillDetail(const QsoRecord& qso, const LogContext& ctx, const EntryMask& mask) {
  QsoDetailFields f;
  f.number_label = Concat({kDetailNumberLabel, std::to_string(qso.QsoNo())});
  f.call = qso.Call();
  const ExchangeParts sent = SplitExchange(qso.SentExchange());
  const ExchangeParts recv = SplitExchange(qso.RecvExchange());
  f.sent_report = sent.report;
  f.recv_report = recv.report;
  f.sent = {sent.field2, sent.field3, sent.field4};
  f.recv = {recv.field2, recv.field3, recv.field4};
  for (size_t i = 0; i < 3; ++i) {
    f.sent_enabled[i] = mask.Shown(kSentFields[i]);
    f.recv_enabled[i] = mask.Shown(kRecvFields[i]);
    const int32_t kind = ctx.Definition.RecvKinds[i];
    const std::string& label = ctx.Definition.ExchangeLabels[i];
    if (kind != kExchangeHidden) f.field_captions[i] = label.empty() ? std::string(ExchangeKindCaption(kind)) : label;
  }
  for (const std::string& mode : ctx.Definition.ModeNames) {
    if (mode.empty()) break;
    if (mode == qso.Mode()) f.mode_index = static_cast<int>(f.modes.size());
    f.modes.push_back(mode);
  }
  for (const char band : ctx.Definition.BandCodes) {
    if (band == 0) break;
    if (band == qso.Band()) f.band_index = static_cast<int>(f.band_codes.size());
    f.band_codes.push_back(band);
    f.band_names.push_back(BandName(band, false));
  }
  f.date = DateToText(DatePicture, qso.QsoDate());
  f.time = TimeToText(TimePicture, qso.QsoTime());
  f.qsl_sent = CharText(qso.QslSent());
  f.qsl_received = CharText(qso.QslReceived());
  f.dxcc = qso.Dxcc();
  SplitNameQth(qso.NameQth(), &f.name, &f.qth);
  f.frequency = DetailFrequencyText(qso.Frequency());
  f.call2 = qso.Call2();
  return QsoDetailModel(std::move(f));
}

DetailReadBack ReadBackDetail(const QsoDetailModel& model, const LogContext& ctx, EntityLookup& lookup,
                              QsoRecord& qso) {
  const QsoDetailFields& f = model.fields();
  const std::string old_recv = qso.RecvExchange();
  const char old_band = qso.Band();
  const std::string old_mode = qso.Mode();
  const uint16_t old_points = qso.Points();
  const int32_t old_distance = qso.Distance();
  DetailReadBack result;

  qso.SetCall(StoredCallText(f.call));
  // JoinExchange pads or cuts each report to 3 characters, so that a report
  // can never shift the fields behind it.
  qso.SetSentExchange(JoinExchange({f.sent_report, f.sent[0], f.sent[1], f.sent[2]}));
  qso.SetRecvExchange(JoinExchange({f.recv_report, f.recv[0], f.recv[1], f.recv[2]}));

  // The dialog's own choice flag, clear at every opening: a choice made for
  // the QSO in the mask must not decide the entity of a stored QSO, nor the
  // other way round.
  bool entity_chosen = false;
  DetermineEntity(qso, entity_chosen, lookup);

  const std::string& locator = f.recv[1];
  if (locator.size() > 3) {
    if (IsLocatorPrefix(locator)) {
      qso.SetLocator(locator.substr(0, 6));
      UpdateDistance(qso, ctx.Options.OwnLocator);
    } else {
      TheDialogs().ShowMessage(kLocatorError);
      qso.SetDistance(0);
      result.locator_error = true;
    }
  }

  const std::string mode = model.SelectedMode();
  if (!mode.empty()) qso.SetMode(mode);
  const int32_t date = TypedDate(f.date);
  if (date >= 0) {
    qso.SetQsoDate(date);
  } else {
    TheDialogs().ShowMessage(kDetailDateUnreadable);
  }
  const int32_t time = TypedTime(f.time);
  if (time >= 0) {
    // Through the time format and back: what the format does not show (the
    // seconds of "hh:mm") becomes 0.
    qso.SetQsoTime(TextToTime(TimePicture, TimeToText(TimePicture, time)));
  } else {
    TheDialogs().ShowMessage(kDetailTimeUnreadable);
  }
  qso.SetQslSent(FirstChar(f.qsl_sent));
  qso.SetQslReceived(FirstChar(f.qsl_received));
  qso.SetDxcc(f.dxcc);
  // A stored band outside the contest's bands shows no selection and stays.
  if (const char band = model.SelectedBand(); band != 0) qso.SetBand(band);
  RecomputePoints(qso);

  result.relevant = qso.RecvExchange() != old_recv || qso.Band() != old_band || qso.Mode() != old_mode ||
                    qso.Points() != old_points || qso.Distance() != old_distance;

  // As the mask stores it: nothing at all when both are empty.
  qso.SetNameQth(f.name.empty() && f.qth.empty() ? std::string() : Concat({f.name, ";", f.qth}));
  qso.SetFrequency(static_cast<float>(DetailFrequencyValue(f.frequency)));
  return result;
}

ChangeOutcome ChangeQso(ContestLog& log, int32_t record_no, QsoDetailRunner& runner) {
  QsoRecord qso;
  if (!FindQso(record_no, &qso)) return ChangeOutcome::kNothing;
  QsoDetailModel model = FillDetail(qso, log.context(), log.entry().mask());
  runner.Run(model);
  const DetailReadBack read = ReadBackDetail(model, log.context(), log.entry().lookup(), qso);
  // The buffer may have moved while the dialog was open.
  QsoRecord stored;
  if (!FindQso(record_no, &stored)) return ChangeOutcome::kNothing;
  qso.CopyTo(TheLog()->RecordBuffer());
  TheLog()->UpdateRecord();
  if (!read.relevant) return ChangeOutcome::kStored;
  SettleLog(log);
  return ChangeOutcome::kRelevant;
}

}  // namespace kontura
