#include "logging/qso_detail.h"

#include "logging/mask_text.h"
#include "refdata/bands_modes.h"
#include "text/picture_format.h"
#include "text/text_util.h"

namespace kontura {
namespace {

// The report rule of a mode change for one report field.
void FollowMode(std::string& report, const std::string& mode) {
  if (mode == "CW") {
    if (report.size() == 2) report += '9';
    if (report.size() == 3 && report[2] == ' ') report[2] = '9';
  } else if (mode == "SSB" || mode == "FM") {
    if (report.size() == 3 && report[2] == '9') report[2] = ' ';
  }
}

}  // namespace

void QsoDetailModel::SelectMode(int index) {
  if (index < 0 || static_cast<size_t>(index) >= m_f.modes.size()) return;
  m_f.mode_index = index;
  const std::string& mode = m_f.modes[static_cast<size_t>(index)];
  FollowMode(m_f.sent_report, mode);
  FollowMode(m_f.recv_report, mode);
}

void QsoDetailModel::LeaveFrequency() {
  const double mhz = DetailFrequencyValue(m_f.frequency);
  if (mhz <= 0) return;
  const char band = BandOfFrequency(mhz);
  if (band == kNoBand || band == SelectedBand()) return;
  for (size_t i = 0; i < m_f.band_codes.size(); ++i) {
    // Only the selection moves: a band chosen this way keeps the typed
    // frequency, which lies in it.
    if (m_f.band_codes[i] == band) m_f.band_index = static_cast<int>(i);
  }
}

void QsoDetailModel::SelectBand(int index) {
  if (index < 0 || static_cast<size_t>(index) >= m_f.band_codes.size()) return;
  m_f.band_index = index;
  const char band = m_f.band_codes[static_cast<size_t>(index)];
  if (BandOfFrequency(DetailFrequencyValue(m_f.frequency)) == band) return;
  const BandInfo* info = FindBand(band);
  if (info != nullptr) m_f.frequency = DetailFrequencyText(info->nominal_mhz);
}

char QsoDetailModel::SelectedBand() const {
  if (m_f.band_index < 0 || static_cast<size_t>(m_f.band_index) >= m_f.band_codes.size()) return 0;
  return m_f.band_codes[static_cast<size_t>(m_f.band_index)];
}

std::string QsoDetailModel::SelectedMode() const {
  if (m_f.mode_index < 0 || static_cast<size_t>(m_f.mode_index) >= m_f.modes.size()) return {};
  return m_f.modes[static_cast<size_t>(m_f.mode_index)];
}

std::string QsoDetailModel::Capitals(const std::string& text) { return UpperGerman(text); }

std::string DetailFrequencyText(double mhz) {
  if (mhz <= 0) return {};
  return TrimBlanks(FormatPicture(kDetailFrequencyPicture, mhz));
}

double DetailFrequencyValue(const std::string& text) { return TypedFrequency(text); }

}  // namespace kontura
