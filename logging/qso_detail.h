#pragma once
// The detail dialog "QSO ändern" as a model: what its fields hold, which of
// them the operator may edit, and the two rules that run while it is open
// (the reports follow a mode change; frequency and band follow each other).
// The Qt dialog (logging/qt/qso_detail.h) shows this model and forwards the
// operator's changes; filling it from a stored QSO and storing the result
// is the correction's work (qso_correction.h).
//
// Texts are Windows-1252, as in the records.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace kontura {

inline constexpr char kDetailCaption[] = "QSO \xE4ndern";
inline constexpr char kDetailNumberLabel[] = "Nummer:   ";

// Field lengths of the dialog.
inline constexpr size_t kDetailCallLength = 14;
inline constexpr size_t kDetailDateLength = 10;
inline constexpr size_t kDetailTimeLength = 14;
inline constexpr size_t kDetailReportLength = 3;
inline constexpr size_t kDetailExchangeLength = 21;
inline constexpr size_t kDetailQslLength = 1;
inline constexpr size_t kDetailDxccLength = 6;
inline constexpr size_t kDetailNameLength = 25;
inline constexpr size_t kDetailCall2Length = 14;
// The frequency field's picture: MHz with four decimals.
inline constexpr char kDetailFrequencyPicture[] = "#####,####";

struct QsoDetailFields {
  std::string number_label;  // kDetailNumberLabel + QsoNo
  std::string call;
  std::string date;  // "dd.mm.yyyy"
  std::string time;  // "hh:mm"
  std::string sent_report;
  std::string recv_report;
  std::array<std::string, 3> sent{};  // fields 2 to 4
  std::array<std::string, 3> recv{};
  // Fields 2 to 4 are editable only where the logging window's mask shows
  // them; the reports always are.
  std::array<bool, 3> sent_enabled{};
  std::array<bool, 3> recv_enabled{};
  // What fields 2 to 4 hold ("Nr", "Locator", ...); empty for an unused one.
  std::array<std::string, 3> field_captions{};
  std::string qsl_sent;
  std::string qsl_received;
  std::string dxcc;  // the field captioned "DXCC", bound to Dxcc
  std::string frequency;
  std::string name;
  std::string qth;
  std::string call2;

  std::vector<std::string> modes;  // ModeNames
  int mode_index = -1;             // -1: the stored mode is none of them
  std::vector<char> band_codes;    // BandCodes
  std::vector<std::string> band_names;
  int band_index = -1;  // -1: the stored band is none of them (no selection)
};

class QsoDetailModel {
 public:
  QsoDetailModel() = default;
  explicit QsoDetailModel(QsoDetailFields fields) : m_f(std::move(fields)) {}

  QsoDetailFields& fields() { return m_f; }
  const QsoDetailFields& fields() const { return m_f; }

  // The operator chose mode `index`. Into "CW" a two-character report gets
  // a "9" appended and a blank third character becomes "9"; into "SSB" or
  // "FM" a third character "9" becomes a blank. Both reports follow; other
  // modes leave them alone.
  void SelectMode(int index);

  // The operator left the frequency field: a frequency inside another band
  // than the chosen one selects that band (the frequency stays).
  void LeaveFrequency();

  // The operator chose band `index`: a frequency outside the new band is
  // replaced by the band's default frequency.
  void SelectBand(int index);

  // The band code of the selection, 0 when none is selected.
  char SelectedBand() const;
  // The mode of the selection, empty when none is selected.
  std::string SelectedMode() const;

  // Characters typed into a field are capitals except in name and QTH.
  static std::string Capitals(const std::string& text);

 private:
  QsoDetailFields m_f;
};

// The frequency as the dialog shows it ("#####,####" trimmed, empty for 0)
// and the number read back from it (0 when it holds none).
std::string DetailFrequencyText(double mhz);
double DetailFrequencyValue(const std::string& text);

}  // namespace kontura
