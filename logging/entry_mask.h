#pragma once
// The entry mask as a model: for every field its text, whether it is shown
// and enabled, its caption and its length limit; which field has the focus;
// the labels that stand in for fixed fields; the QSL label. The logging
// window draws this model and forwards keys and focus changes to the entry
// (qso_entry.h), which keeps it up to date.

#include <array>
#include <cstddef>
#include <string>

#include "logging/log_session.h"

namespace kontura {

// The fields in tab order. Fields 2 to 4 of each side follow its report.
enum class MaskField : int {
  kCall,
  kSentReport,
  kSent2,
  kSent3,
  kSent4,
  kRecvReport,
  kRecv2,
  kRecv3,
  kRecv4,
  kFrequency,
  kName,
  kQth,
  kTime,
  kDate,
};
inline constexpr int kMaskFieldCount = 14;

struct MaskFieldState {
  std::string text;
  bool visible = false;
  bool enabled = false;
  std::string caption;  // empty: the window keeps its own caption
  size_t max_length = 0;
};

inline constexpr char kPartnerCaption[] = "QSO-Partner";
inline constexpr char kQslLabelYes[] = "&QSL senden: ja";
inline constexpr char kQslLabelNo[] = "&QSL senden: nein";

class EntryMask {
 public:
  MaskFieldState& operator[](MaskField f) { return m_fields[static_cast<size_t>(f)]; }
  const MaskFieldState& operator[](MaskField f) const { return m_fields[static_cast<size_t>(f)]; }

  // Shows, enables and captions the fields for the contest: the reports and
  // sent fields follow the header's options, received fields 2 to 4 their
  // kinds (a kind 0 hides the field), date and time are labels when the
  // header sets them automatically; frequency, name and QTH start hidden.
  void Layout(const LogContext& ctx);

  // F9: shows or hides frequency, name and QTH together.
  void ToggleNameQth();

  bool Shown(MaskField f) const { return (*this)[f].visible; }

  // The next shown field after `f` in tab order, wrapping to the first.
  MaskField NextShown(MaskField f) const;
  // The last shown received field (4, else 3, else 2); kCall when none is.
  MaskField LastShownReceived() const;

  // True when Enter in `f` completes the entry: the call field when every
  // received field, QTH and time are hidden; received field 2 when fields 3
  // and 4, QTH and time are hidden; field 3 when field 4, QTH and time are
  // hidden; field 4 when QTH and time are hidden; the time field; the QTH
  // field when the time field is hidden.
  bool IsLastField(MaskField f) const;

  // Refreshes the labels of fixed fields from the field texts: the sent and
  // received report labels show the report, the sent exchange label field 2
  // and, each behind a "/", fields 3 and 4 when present; date and time
  // labels mirror their fields.
  void RefreshLabels();

  MaskField focus = MaskField::kCall;

  // The caption above the call field: kPartnerCaption or the partner's name.
  std::string partner_caption = kPartnerCaption;
  std::string qsl_label = kQslLabelNo;
  std::string mode_label;
  std::string band_label;
  // Labels shown in place of fixed fields.
  std::string sent_report_label;
  std::string sent_exchange_label;
  std::string recv_report_label;
  std::string date_label;
  std::string time_label;

 private:
  std::array<MaskFieldState, kMaskFieldCount> m_fields;
};

}  // namespace kontura
