#include "logging/log_access.h"

#include "logging/qso_keys.h"
#include "refdata/bands_modes.h"
#include "storage/catalogue.h"
#include "storage/key_encoding.h"
#include "text/text_util.h"

namespace kontura {

Fileblock* TheLog() { return CatalogueHandle(CatalogueId::kFhlk); }

QsoRecord LogRecord() { return QsoRecord::FromBytes(TheLog()->RecordBuffer()); }

SavedLogBuffer::SavedLogBuffer() {
  if (TheLog()) m_saved = LogRecord();
}

SavedLogBuffer::~SavedLogBuffer() {
  if (TheLog()) m_saved.CopyTo(TheLog()->RecordBuffer());
}

std::string PadTo(std::string_view s, size_t n) {
  std::string out(s.substr(0, n));
  out.resize(n, ' ');
  return out;
}

int32_t NextBandSerialOf(int key_nr, char band) {
  Fileblock* log = TheLog();
  log->FindAtLeast(key_nr, Concat({std::string_view(&band, 1), NumberToKey(0)}));
  if (StorageErrorClass() != 0) return 1;
  const QsoRecord found = LogRecord();
  if (found.Band() != band) return 1;
  return (key_nr == 11 ? found.BandSerial2() : found.BandSerial()) + 1;
}

int32_t NextModeSerialOf(std::string_view mode) {
  Fileblock* log = TheLog();
  const char mode_class = ModeClass(mode);
  log->FindAtLeast(24, Concat({std::string_view(&mode_class, 1), NumberToKey(0)}));
  if (StorageErrorClass() != 0) return 1;
  const QsoRecord found = LogRecord();
  return found.Mode() == mode ? found.ModeSerial() + 1 : 1;
}

NextNumbers FindNextNumbers(char band, std::string_view mode) {
  SavedLogBuffer saved;
  NextNumbers next;
  Fileblock* log = TheLog();
  log->Last(13);
  if (StorageErrorClass() == 0) next.QsoNo = LogRecord().QsoNo() + 1;
  next.BandSerial2 = NextBandSerialOf(11, band);
  next.BandSerial = NextBandSerialOf(12, band);
  next.ModeSerial = NextModeSerialOf(mode);
  return next;
}

}  // namespace kontura
