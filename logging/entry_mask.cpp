#include "logging/entry_mask.h"

#include "text/text_util.h"

namespace kontura {
namespace {

constexpr MaskField kReceivedFields[] = {MaskField::kRecv2, MaskField::kRecv3, MaskField::kRecv4};
constexpr MaskField kSentFields[] = {MaskField::kSent2, MaskField::kSent3, MaskField::kSent4};

// Caption of a received field: "&n : " and the definition's label, or the
// caption of the field's kind when the definition has none.
std::string ReceivedCaption(const TContestDefinition& def, int i) {
  const std::string label = def.ExchangeLabels[static_cast<size_t>(i)];
  const std::string text = label.empty() ? std::string(ExchangeKindCaption(def.RecvKinds[static_cast<size_t>(i)])) : label;
  return Concat({"&", std::to_string(i + 1), " : ", text});
}

std::string SlashJoined(const std::string& a, const std::string& b, const std::string& c) {
  std::string s = a;
  if (!b.empty() || !c.empty()) s += "/" + b;
  if (!c.empty()) s += "/" + c;
  return s;
}

}  // namespace

void EntryMask::Layout(const LogContext& ctx) {
  const TContestDefinition& def = ctx.Definition;
  const LogOptions& o = ctx.Options;
  auto set = [this](MaskField f, bool visible, size_t max_length, std::string caption = {}) {
    MaskFieldState& s = (*this)[f];
    s.visible = visible;
    s.enabled = visible;
    s.max_length = max_length;
    s.caption = std::move(caption);
  };
  set(MaskField::kCall, true, 14, kPartnerCaption);
  set(MaskField::kSentReport, o.RstSentFree, 3);
  for (int i = 0; i < 3; ++i) {
    const bool kind = def.SentKinds[static_cast<size_t>(i)] != kExchangeHidden;
    set(kSentFields[i], o.RstSentUnlocked && kind, 10);
  }
  set(MaskField::kRecvReport, o.RstRcvdFree, 3);
  for (int i = 0; i < 3; ++i) {
    const bool kind = def.RecvKinds[static_cast<size_t>(i)] != kExchangeHidden;
    set(kReceivedFields[i], kind, 21, kind ? ReceivedCaption(def, i) : std::string());
  }
  set(MaskField::kFrequency, false, 10);
  set(MaskField::kName, false, 25);
  set(MaskField::kQth, false, 25);
  set(MaskField::kTime, !o.AutoTime, 14, "UTC");
  set(MaskField::kDate, !o.AutoDate, 10);
  partner_caption = kPartnerCaption;
  focus = MaskField::kCall;
}

void EntryMask::ToggleNameQth() {
  const bool show = !Shown(MaskField::kFrequency);
  for (MaskField f : {MaskField::kFrequency, MaskField::kName, MaskField::kQth}) {
    (*this)[f].visible = show;
    (*this)[f].enabled = show;
  }
}

MaskField EntryMask::NextShown(MaskField f) const {
  int i = static_cast<int>(f);
  for (int step = 0; step < kMaskFieldCount; ++step) {
    i = (i + 1) % kMaskFieldCount;
    if (Shown(static_cast<MaskField>(i))) return static_cast<MaskField>(i);
  }
  return f;
}

MaskField EntryMask::LastShownReceived() const {
  for (MaskField f : {MaskField::kRecv4, MaskField::kRecv3, MaskField::kRecv2}) {
    if (Shown(f)) return f;
  }
  return MaskField::kCall;
}

bool EntryMask::IsLastField(MaskField f) const {
  const bool tail_hidden = !Shown(MaskField::kQth) && !Shown(MaskField::kTime);
  switch (f) {
    case MaskField::kCall: return tail_hidden && LastShownReceived() == MaskField::kCall;
    case MaskField::kRecv2:
    case MaskField::kRecv3:
    case MaskField::kRecv4: return tail_hidden && LastShownReceived() == f;
    case MaskField::kTime: return true;
    case MaskField::kQth: return !Shown(MaskField::kTime);
    default: return false;
  }
}

void EntryMask::RefreshLabels() {
  sent_report_label = (*this)[MaskField::kSentReport].text;
  sent_exchange_label =
      SlashJoined((*this)[MaskField::kSent2].text, (*this)[MaskField::kSent3].text, (*this)[MaskField::kSent4].text);
  recv_report_label = (*this)[MaskField::kRecvReport].text;
  date_label = (*this)[MaskField::kDate].text;
  time_label = (*this)[MaskField::kTime].text;
}

}  // namespace kontura
