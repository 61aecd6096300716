#include "logging/log_renumbering.h"

#include <array>
#include <string>

#include "logging/log_access.h"
#include "logging/points.h"
#include "platform/dialogs.h"
#include "platform/platform.h"
#include "platform/progress.h"
#include "refdata/bands_modes.h"
#include "storage/catalogue.h"
#include "storage/key_encoding.h"

namespace kontura {
namespace {

// QsyBand of the trailer: any non-zero value makes it a band-change marker,
// which no renumbering copies and no walk below takes for a QSO.
constexpr char kTrailerMark = '*';
constexpr int kProgressEvery = 10;

// Set while FHLKTEMP holds a complete copy whose rebuild into the log failed
// in this run; cleared when a rebuild succeeds.
bool g_rebuild_pending = false;

Fileblock* Temp() { return CatalogueHandle(CatalogueId::kFhlktemp); }

QsoRecord TempRecord() { return QsoRecord::FromBytes(Temp()->RecordBuffer()); }

// Opens FHLKTEMP for one operation and closes it at every way out.
class TempOpen {
 public:
  TempOpen() : m_open(OpenFHLKTEMP()) {}
  ~TempOpen() {
    if (m_open) CloseFHLKTEMP();
  }
  TempOpen(const TempOpen&) = delete;
  TempOpen& operator=(const TempOpen&) = delete;
  bool ok() const { return m_open; }

 private:
  bool m_open;
};

struct TempState {
  enum Kind { kEmpty, kIncomplete, kComplete } kind = kEmpty;
  std::string log_name;  // the log a complete copy belongs to
};

TempState InspectTemp() {
  TempState state;
  Temp()->Last(1);
  if (StorageErrorClass() != 0) return state;  // empty
  const QsoRecord last = TempRecord();
  if (last.QsyBand() == kTrailerMark && last.Call().rfind("FHLK", 0) == 0) {
    state.kind = TempState::kComplete;
    state.log_name = last.Call();
  } else {
    state.kind = TempState::kIncomplete;
  }
  return state;
}

// True when a renumbering would write the log back as it is: in key-1 order
// the entries carry RecordNo and QsoNo 1, 2, 3 ..., running numbers per band
// and mode class without gaps, no band-change marker and no multiplier
// values. A log kept in order by its operator is skipped this way instead
// of being rewritten twice at every opening and closing.
bool AlreadyInOrder() {
  Fileblock* log = TheLog();
  std::array<int32_t, 256> band_counter{};
  std::array<int32_t, 256> mode_counter{};
  int32_t number = 0;
  for (log->First(1); StorageErrorClass() == 0; log->Next(1)) {
    const QsoRecord q = LogRecord();
    ++number;
    const int32_t serial = ++band_counter[static_cast<uint8_t>(q.Band())];
    const int32_t mode_serial = ++mode_counter[static_cast<uint8_t>(ModeClass(q.Mode()))];
    if (q.IsBandChangeMarker() || q.RecordNo() != number || q.QsoNo() != number || q.BandSerial() != serial ||
        q.BandSerial2() != serial || q.ModeSerial() != static_cast<uint16_t>(mode_serial) ||
        !q.NewMulti1().empty() || !q.NewMulti2().empty() || !q.Call2().empty()) {
      return false;
    }
  }
  return StorageErrorCode() == err::kNoNext || number == 0;
}

// Step 2 and 3: the copy in date and time order, synced, then the trailer,
// synced. False when FHLKTEMP could not take it.
bool CopyLogToTemp(const std::string& log_name, ProgressScope& progress) {
  Fileblock* log = TheLog();
  Fileblock* temp = Temp();
  temp->SetFlushAfterWrite(false);
  BulkLoadScope bulk(temp);  // the copy counts only once it is flushed
  int32_t walked = 0;
  for (log->First(1); StorageErrorClass() == 0; log->Next(1)) {
    if (++walked % kProgressEvery == 0) progress.Step(walked);
    QsoRecord q = LogRecord();
    if (q.IsBandChangeMarker()) continue;
    q.SetRecordNo(0);
    q.CopyTo(temp->RecordBuffer());
    temp->AddRecord();
    if (StorageErrorClass() != 0) return false;
  }
  temp->Flush();
  if (StorageErrorClass() != 0) return false;
  QsoRecord trailer;
  trailer.SetQsyBand(kTrailerMark);
  trailer.SetCall(log_name);
  trailer.CopyTo(temp->RecordBuffer());
  temp->AddRecord();
  if (StorageErrorClass() != 0) return false;
  temp->Flush();
  return StorageErrorClass() == 0;
}

// Step 4: the log rebuilt from FHLKTEMP with fresh numbers.
bool RebuildLogFromTemp(ProgressScope& progress) {
  Fileblock* log = TheLog();
  log->EraseFiles();
  log->SetFlushAfterWrite(false);
  BulkLoadScope bulk(log);  // FHLKTEMP holds every QSO until the log is flushed
  std::array<int32_t, 256> band_counter{};
  std::array<int32_t, 256> mode_counter{};
  int32_t number = 0;
  for (Temp()->First(1); StorageErrorClass() == 0; Temp()->Next(1)) {
    QsoRecord q = TempRecord();
    if (q.IsBandChangeMarker()) continue;
    EvaluateMultipliers(q);
    q.SetRecordNo(0);
    q.SetQsoNo(++number);
    const int32_t serial = ++band_counter[static_cast<uint8_t>(q.Band())];
    q.SetBandSerial(serial);
    q.SetBandSerial2(serial);
    q.SetModeSerial(static_cast<uint16_t>(++mode_counter[static_cast<uint8_t>(ModeClass(q.Mode()))]));
    q.CopyTo(log->RecordBuffer());
    log->AddRecord();
    if (StorageErrorClass() != 0) {
      log->SetFlushAfterWrite(true);
      return false;
    }
    if (number % kProgressEvery == 0) progress.Step(number);
  }
  log->SetFlushAfterWrite(true);
  log->Flush();
  return StorageErrorClass() == 0;
}

// The log rebuilt from a complete copy in FHLKTEMP, then FHLKTEMP erased.
// The log is erased first: whatever a crash left in it (half-written slots
// included) is replaced by the synced copy, so the completion can be run
// again and again with the same result.
bool CompleteFromTemp(ProgressScope& progress) {
  if (!RebuildLogFromTemp(progress)) {
    g_rebuild_pending = true;
    return false;
  }
  g_rebuild_pending = false;
  Temp()->EraseFiles();
  return true;
}

}  // namespace

bool LogRebuildPending() { return g_rebuild_pending; }

RenumberResult RenumberLog(int32_t contest_number) {
  SavedLogBuffer saved;
  TempOpen temp;
  if (!temp.ok()) {
    TheDialogs().ShowMessage(kTempBuildFailed);
    return RenumberResult::kTempFailed;
  }
  const std::string log_name = FhlkFileName(contest_number);
  const TempState state = InspectTemp();
  if (state.kind == TempState::kComplete) {
    // FHLKTEMP holds QSOs the log may lack: it is never erased before they
    // are back in their log. The completion is a renumbering of its own.
    if (state.log_name != log_name) return RenumberResult::kTempBusy;
    ProgressScope progress("Neunummerierung", Temp()->RecordCount(), true);
    if (!CompleteFromTemp(progress)) {
      TheDialogs().ShowMessage(kRebuildFailed);
      return RenumberResult::kRebuildFailed;
    }
    return RenumberResult::kDone;
  }
  Temp()->EraseFiles();
  if (AlreadyInOrder()) return RenumberResult::kDone;

  ProgressScope progress("Neunummerierung", TheLog()->RecordCount(), true);
  if (!CopyLogToTemp(log_name, progress)) {
    // The log was not touched: what FHLKTEMP holds is not needed.
    Temp()->EraseFiles();
    TheDialogs().ShowMessage(kTempBuildFailed);
    return RenumberResult::kTempFailed;
  }
  if (!CompleteFromTemp(progress)) {
    TheDialogs().ShowMessage(kRebuildFailed);
    return RenumberResult::kRebuildFailed;
  }
  return RenumberResult::kDone;
}

bool RecoverInterruptedRenumbering() {
  TempOpen temp;
  if (!temp.ok()) return false;
  const TempState state = InspectTemp();
  if (state.kind == TempState::kEmpty) return true;
  if (state.kind == TempState::kIncomplete) {
    Temp()->EraseFiles();
    return true;
  }
  if (TheLog() != nullptr) return false;  // only one log can be open
  const int32_t contest_number = static_cast<int32_t>(std::stol(state.log_name.substr(4)));
  if (!OpenFHLK(contest_number)) return false;
  ProgressScope progress("Neunummerierung", Temp()->RecordCount(), true);
  const bool ok = CompleteFromTemp(progress);
  CloseFHLK();
  return ok;
}

}  // namespace kontura
