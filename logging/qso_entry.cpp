#include "logging/qso_entry.h"

#include <cstdio>

#include "logging/call_book.h"
#include "logging/duplicate_check.h"
#include "logging/log_access.h"
#include "logging/mask_text.h"
#include "logging/points.h"
#include "logging/score_totals.h"
#include "platform/platform.h"
#include "refdata/bands_modes.h"
#include "refdata/base_call.h"
#include "refdata/suite_settings.h"
#include "text/calendar.h"
#include "text/date_time_text.h"
#include "text/text_util.h"

namespace kontura {
namespace {

constexpr MaskField kSentFields[] = {MaskField::kSent2, MaskField::kSent3, MaskField::kSent4};
constexpr MaskField kRecvFields[] = {MaskField::kRecv2, MaskField::kRecv3, MaskField::kRecv4};
constexpr size_t kRememberedMax = 20;
constexpr size_t kNameQthMax = 30;
// Typing into received field 2 stops here, as on the sent side.
constexpr size_t kRecv2TypingMax = 10;

bool IsReceived(MaskField f) {
  return f == MaskField::kRecvReport || f == MaskField::kRecv2 || f == MaskField::kRecv3 || f == MaskField::kRecv4;
}

bool IsExchangeField(MaskField f) {
  for (MaskField e : kSentFields) {
    if (e == f) return true;
  }
  return f == MaskField::kRecv2 || f == MaskField::kRecv3 || f == MaskField::kRecv4;
}

bool IsLocatorKind(int32_t kind) { return kind == kExchangeLocator4 || kind == kExchangeLocator6; }

std::string Cut(std::string s, size_t n) {
  if (s.size() > n) s.resize(n);
  return s;
}

double NominalFrequency(char band) { return NominalFrequencyOfText(BandName(band, false)); }

bool InContest(const TContestDefinition& def, char band) {
  for (char c : def.BandCodes) {
    if (c == 0) return false;
    if (c == band) return true;
  }
  return false;
}



}  // namespace

bool IsAcceptableCall(std::string_view call) {
  const std::string base = BaseCall(TrimBlanks(call));
  if (base.size() < 3) return false;
  if (base[0] == 'D' && base.size() < 4) return false;
  auto digit = [](char c) { return c >= '0' && c <= '9'; };
  auto letter = [](char c) { return c >= 'A' && c <= 'Z'; };
  if (digit(base[0]) && digit(base[1])) return false;
  if (letter(base[0]) && letter(base[1]) && letter(base[2])) return false;
  return true;
}

bool IsGermanCall(std::string_view call) {
  if (call.size() < 2 || call[0] != 'D') return false;
  const char c = call[1];
  return (c >= 'A' && c <= 'H') || (c >= 'J' && c <= 'R');
}

QsoEntry::QsoEntry(const LogContext& ctx, LogSession& session, EntityLookup& lookup)
    : m_ctx(ctx), m_s(session), m_lookup(lookup) {
  m_mask.Layout(ctx);
}

void QsoEntry::SetStartMode() {
  const auto& modes = m_ctx.Definition.ModeNames;
  auto has = [&modes](std::string_view m) {
    for (const std::string& name : modes) {
      if (name.empty()) return false;
      if (name == m) return true;
    }
    return false;
  };
  const LogOptions& o = m_ctx.Options;
  m_s.CurrentMode = Cut(modes[0], 6);
  const char* start = o.StartSsb ? "SSB" : o.StartFm ? "FM" : o.StartPr ? "PR" : nullptr;
  if (start != nullptr && has(start)) m_s.CurrentMode = start;
  if (start == nullptr && has("CW")) m_s.CurrentMode = "CW";
}

void QsoEntry::NewQso() {
  // Searches first: they go through the log's shared buffer, and the record
  // is cleared only afterwards, so that nothing of a stored QSO remains.
  const NextNumbers next = FindNextNumbers(m_s.CurrentBand, m_s.CurrentMode);
  m_rec.Clear();
  m_s.Editing = false;
  m_s.LastCall.clear();
  m_s.EntityChosen = false;
  m_s.NextQsoNo = next.QsoNo;
  m_s.NextBandSerial = next.BandSerial;
  m_s.NextBandSerial2 = next.BandSerial2;
  m_s.NextModeSerial = next.ModeSerial;

  const LogOptions& o = m_ctx.Options;
  m_rec.SetQsoDate(m_s.LastQsoDate == 0 ? -1 : m_s.LastQsoDate);
  m_rec.SetQsoTime(m_s.LastQsoTime);
  m_rec.SetMode(m_s.CurrentMode);
  m_rec.SetBand(m_s.CurrentBand);
  m_rec.SetQslSent(o.QslSentDefault);
  m_rec.SetQslReceived(o.QslRcvdDefault);
  m_s.QslSendFlag = o.QslSentDefault;
  m_rec.SetQsoNo(next.QsoNo);
  m_rec.SetBandSerial2(next.BandSerial2);
  m_rec.SetBandSerial(next.BandSerial);
  m_rec.SetModeSerial(static_cast<uint16_t>(next.ModeSerial));

  const std::string report = DefaultReport(m_s.CurrentMode);
  const auto& d = m_ctx.Definition.SentDefaults;
  std::string sent = report + d[0];
  if (!d[1].empty()) sent += "/" + d[1];
  if (!d[2].empty()) sent += "/" + d[2];
  if (d[0].empty() && d[1].empty() && d[2].empty()) {
    char number[16];
    std::snprintf(number, sizeof number, "%03d", static_cast<int>(next.QsoNo % 1000));
    sent = report + number;
  }
  m_rec.SetSentExchange(sent);
  m_rec.SetRecvExchange(report);
  if (m_s.LastFrequency > 0) m_rec.SetFrequency(m_s.LastFrequency);
  m_s.RememberedName.clear();
  m_s.RememberedQth.clear();
  m_s.LastDxcc.clear();
  m_locator_preset.clear();
  m_mask.partner_caption = kPartnerCaption;
  m_mask.focus = MaskField::kCall;
  ++m_new_qso_count;
  FillMask();
}

std::string QsoEntry::ReadReport(MaskField f) const { return ModeReport(m_mask[f].text, m_rec.Mode()); }

void QsoEntry::ReadLocatorField(MaskField f, const std::string& text) {
  if (text.empty()) {
    // An emptied field takes the locator and its points away.
    m_rec.SetLocator("");
    m_rec.SetDistance(0);
  } else if (IsLocatorPrefix(text)) {
    // Up to 3 characters are accepted while typing but not stored.
    if (text.size() > 3) {
      m_rec.SetLocator(text.substr(0, 6));
      UpdateDistance(m_rec, m_ctx.Options.OwnLocator);
    }
  } else if (m_mask.focus == f) {
    TheDialogs().ShowMessage(kLocatorError);
    m_rec.SetDistance(0);
  }
}

void QsoEntry::ReadMask() {
  m_rec.SetCall(StoredCallText(m_mask[MaskField::kCall].text));
  m_rec.SetQsoDate(TypedDate(m_mask[MaskField::kDate].text));
  m_rec.SetQsoTime(TypedTime(m_mask[MaskField::kTime].text));

  const std::string name = NormaliseNameCase(m_mask[MaskField::kName].text);
  const std::string qth = NormaliseNameCase(m_mask[MaskField::kQth].text);
  if (!name.empty()) m_s.RememberedName = Cut(name, kRememberedMax);
  m_s.RememberedQth = Cut(qth, kRememberedMax);
  // Nothing typed leaves NameQth empty rather than ";", so that the name of
  // an earlier QSO can still fill it.
  m_rec.SetNameQth(name.empty() && qth.empty() ? std::string() : Cut(name + ";" + qth, kNameQthMax));

  m_rec.SetFrequency(static_cast<float>(TypedFrequency(m_mask[MaskField::kFrequency].text)));

  ExchangeParts sent{ReadReport(MaskField::kSentReport), m_mask[MaskField::kSent2].text,
                     m_mask[MaskField::kSent3].text, m_mask[MaskField::kSent4].text};
  m_rec.SetSentExchange(JoinExchange(sent));
  ExchangeParts recv{ReadReport(MaskField::kRecvReport), m_mask[MaskField::kRecv2].text,
                     m_mask[MaskField::kRecv3].text, m_mask[MaskField::kRecv4].text};
  m_rec.SetRecvExchange(JoinExchange(recv));
  for (int i = 0; i < 3; ++i) {
    if (IsLocatorKind(m_ctx.Definition.RecvKinds[static_cast<size_t>(i)])) {
      ReadLocatorField(kRecvFields[i], m_mask[kRecvFields[i]].text);
    }
  }
}

void QsoEntry::FillMask() {
  m_mask[MaskField::kCall].text = m_rec.Call();
  m_mask.mode_label = m_rec.Mode();
  m_mask.band_label = BandName(m_rec.Band(), false);
  m_mask[MaskField::kDate].text = m_rec.QsoDate() < 1 ? std::string() : DateToText("dd.mm.yyyy", m_rec.QsoDate());
  m_mask[MaskField::kTime].text = m_rec.QsoTime() < 0 ? std::string() : TimeToText("hh:mm:ss", m_rec.QsoTime());

  const ExchangeParts sent = SplitExchange(m_rec.SentExchange());
  m_mask[MaskField::kSentReport].text = sent.report;
  m_mask[MaskField::kSent2].text = sent.field2;
  m_mask[MaskField::kSent3].text = sent.field3;
  m_mask[MaskField::kSent4].text = sent.field4;
  const ExchangeParts recv = SplitExchange(m_rec.RecvExchange());
  m_mask[MaskField::kRecvReport].text = recv.report;
  m_mask[MaskField::kRecv2].text = recv.field2;
  m_mask[MaskField::kRecv3].text = recv.field3;
  m_mask[MaskField::kRecv4].text = recv.field4;

  std::string name, qth;
  SplitNameQth(m_rec.NameQth(), &name, &qth);
  m_mask[MaskField::kName].text = name.empty() ? m_s.RememberedName : name;
  m_mask[MaskField::kQth].text = qth.empty() ? m_s.RememberedQth : qth;

  if (BandOfFrequency(m_rec.Frequency()) != m_s.CurrentBand) {
    m_rec.SetFrequency(static_cast<float>(NominalFrequency(m_s.CurrentBand)));
  }
  m_mask[MaskField::kFrequency].text = FrequencyText(m_rec.Frequency());
  m_mask.qsl_label = m_s.QslSendFlag == 'Y' ? kQslLabelYes : kQslLabelNo;
  m_mask.RefreshLabels();
}

void QsoEntry::Type(MaskField f, std::string_view typed) {
  std::string text(typed);
  if (f != MaskField::kName && f != MaskField::kQth) text = UpperGerman(text);
  if (IsReceived(f)) std::erase(text, ' ');
  text = Cut(text, f == MaskField::kRecv2 ? kRecv2TypingMax : m_mask[f].max_length);
  m_mask[f].text = text;

  if (f == MaskField::kCall) {
    ReadMask();
    if (m_rec.Call().size() <= 1) return;
    // Display only: no choice dialog, EntityChosen untouched.
    const std::string entity = m_lookup.PreviewEntityPrefix(m_rec.Call(), m_rec.QsoDate());
    if (entity == m_s.LastDxcc) return;
    m_s.LastDxcc = entity;
  } else if (IsExchangeField(f)) {
    ReadMask();
  } else {
    return;
  }
  EvaluateMultipliers(m_rec);
  FillMask();
  m_mask[f].text = text;  // the operator's text stays as typed until the field is left
}

void QsoEntry::PressEnter() {
  const MaskField f = m_mask.focus;
  m_s.EnterPressed = true;
  MaskField next = m_mask.NextShown(f);
  if (f == m_mask.LastShownReceived() && !m_mask.Shown(MaskField::kFrequency) && m_mask.Shown(MaskField::kTime)) {
    next = MaskField::kTime;
  } else if (f == MaskField::kQth && m_mask.Shown(MaskField::kTime)) {
    next = MaskField::kTime;
  } else if (f == MaskField::kTime && m_mask.Shown(MaskField::kDate)) {
    next = MaskField::kDate;
  }
  const uint64_t before = m_new_qso_count;
  LeaveField(f);
  if (m_new_qso_count == before) m_mask.focus = next;
}

void QsoEntry::PressHash() {
  if (m_mask.focus != MaskField::kCall) return;
  std::string& call = m_mask[MaskField::kCall].text;
  if (call.find("/p") == std::string::npos) call = Cut(call + "/p", m_mask[MaskField::kCall].max_length);
  PressEnter();
}

void QsoEntry::ToggleQsl() {
  const char c = m_s.QslSendFlag;
  const char upper = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
  m_s.QslSendFlag = (upper == 'J' || upper == 'S' || upper == 'Y') ? 'N' : 'Y';
  m_mask.qsl_label = m_s.QslSendFlag == 'Y' ? kQslLabelYes : kQslLabelNo;
}

void QsoEntry::FocusReceived(int n) {
  if (n < 1 || n > 3) return;
  const MaskField f = kRecvFields[n - 1];
  if (m_mask.Shown(f)) MoveFocus(f);
}

void QsoEntry::MoveFocus(MaskField to) {
  if (to == m_mask.focus) return;
  m_s.EnterPressed = false;
  const uint64_t before = m_new_qso_count;
  LeaveField(m_mask.focus);
  if (m_new_qso_count == before) m_mask.focus = to;
}

void QsoEntry::LeaveField(MaskField f) {
  ReadMask();
  const uint64_t before = m_new_qso_count;
  if (f == MaskField::kCall) {
    const bool changed = m_rec.Call() != m_s.LastCall;
    CallCheck(changed);
    if (m_new_qso_count != before) {  // a duplicate cleared the mask
      m_s.EnterPressed = false;
      return;
    }
    EvaluateMultipliers(m_rec);
    if (changed && IsGermanCall(m_rec.Call())) PresetLocator();
  }
  if (m_s.EnterPressed && m_mask.IsLastField(f)) {
    if (Save(false) == SaveResult::kStored) {
      m_s.EnterPressed = false;
      return;
    }
  }
  if (f == MaskField::kFrequency) LeaveFrequency();
  FillMask();
  m_s.EnterPressed = false;
}

void QsoEntry::CallCheck(bool call_changed) {
  if (call_changed) {
    m_s.LastCall = m_rec.Call();
    if (m_rec.DxccManual() == 0) {
      m_rec.SetDxcc("");
      m_rec.SetPrefix("");
    }
    if (!m_rec.Call().empty()) {
      QsoRecord copy = m_rec;
      const std::string base = BaseCall(m_rec.Call());
      if (copy.NameQth().empty()) copy.SetNameQth(EarlierNameQth(base));
      const int rule = m_ctx.Definition.DupeRule;
      if (FindDuplicate(rule, base, m_s.CurrentBand, m_s.CurrentMode)) {
        TheDialogs().Beep();
        TheDialogs().ShowMessage(CallCheckDuplicateMessage(rule, base));
        m_rec.SetRecvExchange(SplitExchange(m_rec.RecvExchange()).report);
        m_s.RememberedName.clear();
        m_s.RememberedQth.clear();
        m_s.EntityChosen = false;
        NewQso();
        return;
      }
      m_s.RememberedName.clear();
      m_s.RememberedQth.clear();
      m_rec = copy;
      const PartnerInfo partner = LookUpPartner(base);
      m_s.RememberedName = partner.name;
      m_s.RememberedQth = partner.qth;
      m_mask.partner_caption = partner.name.empty() ? std::string(kPartnerCaption) : partner.name;
    }
  }
  const EntityResult entity = DetermineEntity(m_rec, m_s.EntityChosen, m_lookup);
  if (entity == EntityResult::Unknown && call_changed) {
    TheDialogs().Beep();
    TheDialogs().ShowMessage(kPrefixUnknown);
  }
}

void QsoEntry::PresetLocator() {
  for (int i = 0; i < 3; ++i) {
    if (!IsLocatorKind(m_ctx.Definition.RecvKinds[static_cast<size_t>(i)])) continue;
    std::string& field = m_mask[kRecvFields[i]].text;
    // A locator the operator typed stays; only an empty field or one still
    // holding the previous preset takes the call book's locator.
    if (!field.empty() && field != m_locator_preset) return;
    const std::string locator = CallbookLocator(BaseCall(m_rec.Call()));
    if (locator.empty()) return;
    field = locator;
    m_locator_preset = locator;
    ReadMask();
    EvaluateMultipliers(m_rec);
    return;
  }
}

void QsoEntry::LeaveFrequency() {
  const double typed = TypedFrequency(m_mask[MaskField::kFrequency].text);
  if (typed == 0) {
    m_rec.SetFrequency(static_cast<float>(NominalFrequency(m_s.CurrentBand)));
    return;
  }
  const double mhz = NormaliseFrequencyEntry(typed, false);
  const char band = BandOfFrequency(mhz);
  if (band == kNoBand || !InContest(m_ctx.Definition, band)) {
    // A frequency outside the contest's bands keeps the band.
    m_rec.SetFrequency(static_cast<float>(NominalFrequency(m_s.CurrentBand)));
    return;
  }
  m_rec.SetFrequency(static_cast<float>(mhz));
  if (band != m_s.CurrentBand) {
    const float kept = m_rec.Frequency();
    ChangeBand(band);
    m_rec.SetFrequency(kept);
  }
}

}  // namespace kontura
