#pragma once
// Access to the open contest log FHLK<nnnn> through its one shared record
// buffer, and the searches the entry runs on it: the next running numbers.
//
// Every search overwrites the shared buffer. The QSO in the mask is a record
// of its own (qso_entry.h), so searches cannot change it; SavedLogBuffer
// still puts the buffer back after a search, so that whoever shows the
// buffer (the QSO list) finds it as it was.

#include <cstdint>
#include <string>
#include <string_view>

#include "logging/qso_record.h"
#include "storage/fileblock.h"

namespace kontura {

// The open log, nullptr while it is closed.
Fileblock* TheLog();

// The log's record buffer as a record (a copy).
QsoRecord LogRecord();

// Saves the 216 bytes of the log's record buffer and puts them back when it
// goes out of scope.
class SavedLogBuffer {
 public:
  SavedLogBuffer();
  ~SavedLogBuffer();
  SavedLogBuffer(const SavedLogBuffer&) = delete;
  SavedLogBuffer& operator=(const SavedLogBuffer&) = delete;

 private:
  QsoRecord m_saved;
};

// The numbers the next QSO receives.
struct NextNumbers {
  int32_t QsoNo = 1;
  int32_t BandSerial = 1;
  int32_t BandSerial2 = 1;
  int32_t ModeSerial = 1;
};

// QsoNo: the highest QsoNo (key 13) + 1. BandSerial2 and BandSerial: the
// counter + 1 of the first key-11 (key-12) entry at or after
// band + NumberToKey(0) when that entry is on `band`, else 1. ModeSerial: the
// counter + 1 of the first key-24 entry at or after the mode class +
// NumberToKey(0) when its mode is `mode` exactly, else 1. 1 for each on an
// empty log.
NextNumbers FindNextNumbers(char band, std::string_view mode);
int32_t NextBandSerialOf(int key_nr, char band);
int32_t NextModeSerialOf(std::string_view mode);

// s padded with blanks or cut to n characters.
std::string PadTo(std::string_view s, size_t n);

}  // namespace kontura
