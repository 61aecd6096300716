#include "logging/qso_summary.h"

#include "logging/qso_record.h"
#include "refdata/bands_modes.h"
#include "text/date_time_text.h"

namespace kontura {

std::string QsoSummary(const uint8_t* rec) {
  const QsoRecord q = QsoRecord::FromBytes(rec);
  // Midnight is a real QSO time (0 seconds); only -1 and other negative
  // values mean "not set".
  const std::string date = q.QsoDate() >= 0 ? DateToText("dd.mm.yyyy", q.QsoDate()) : "-";
  const std::string time = q.QsoTime() >= 0 ? TimeToText("hh:mm", q.QsoTime()) : "-";
  const char band = q.Band();
  const std::string band_name = band == 0 || band == kNoBand ? "-" : BandName(band, true);
  std::string line = "Nr " + std::to_string(q.RecordNo()) + " | QSO " + std::to_string(q.QsoNo()) + " | " + date +
                     " " + time + " | " + q.Call() + " | " + band_name + " | " + q.Mode() + " | gesendet \"" +
                     q.SentExchange() + "\" | empfangen \"" + q.RecvExchange() + "\" | Locator " + q.Locator() +
                     " | " + std::to_string(q.Distance()) + " km | " + std::to_string(q.Points()) + " Punkte | DXCC " +
                     q.Dxcc();
  if (q.IsBandChangeMarker()) line += " | Bandwechsel";
  if (q.Excluded() != 0) line += " | ausgeschlossen";
  return line;
}

}  // namespace kontura
