#include "logging/duplicate_check.h"

#include "logging/log_access.h"
#include "refdata/base_call.h"
#include "storage/storage_error.h"

namespace kontura {
namespace {

constexpr size_t kBaseWidth = 14;
constexpr size_t kModeWidth = 6;

bool IsCw(std::string_view mode) { return mode == "CW"; }

bool SameBandDuplicate(std::string_view base, char band) {
  Fileblock* log = TheLog();
  log->FindAtLeast(9, std::string(1, band) + PadTo(base, kBaseWidth));
  if (StorageErrorClass() != 0) return false;
  const QsoRecord found = LogRecord();
  return found.Band() == band && BaseCall(found.Call()) == base;
}

bool SameModeClassDuplicate(std::string_view base, std::string_view mode) {
  Fileblock* log = TheLog();
  for (log->FindAtLeast(2, PadTo(base, kBaseWidth)); StorageErrorClass() == 0; log->Next(2)) {
    const QsoRecord found = LogRecord();
    if (BaseCall(found.Call()) != base) return false;
    if (IsCw(found.Mode()) == IsCw(mode)) return true;
  }
  return false;
}

}  // namespace

bool FindDuplicate(int rule, std::string_view base_call, char band, std::string_view mode) {
  if (TheLog() == nullptr || base_call.empty()) return false;
  SavedLogBuffer saved;
  switch (rule) {
    case 1:
      TheLog()->FindExact(9, std::string(1, band) + PadTo(base_call, kBaseWidth) + PadTo(mode, kModeWidth));
      return StorageErrorClass() == 0;
    case 2: return SameBandDuplicate(base_call, band);
    case 3: return SameModeClassDuplicate(base_call, mode);
    case 5:
      TheLog()->FindExact(6, PadTo(base_call, kBaseWidth));
      return StorageErrorClass() == 0;
    default: return false;
  }
}

std::string CallCheckDuplicateMessage(int rule, std::string_view base_call) {
  const char* text = rule == 1   ? " bereits auf Band/Mode vorhanden"
                     : rule == 2 ? " bereits auf Band vorhanden"
                     : rule == 3 ? " bereits in Betriebsart vorhanden"
                                 : " bereits vorhanden";
  return "Call " + std::string(base_call) + text;
}

std::string StoreDuplicateMessage(int rule) {
  switch (rule) {
    case 1: return "Call bereits auf Band/Mode vorhanden";
    case 2: return "Call bereits auf Band vorhanden";
    case 3: return "Call bereits in Betriebsart vorhanden";
    default: return {};
  }
}

std::string EarlierNameQth(std::string_view base_call) {
  if (TheLog() == nullptr || base_call.empty()) return {};
  SavedLogBuffer saved;
  TheLog()->FindExact(6, PadTo(base_call, kBaseWidth));
  return StorageErrorClass() == 0 ? LogRecord().NameQth() : std::string();
}

}  // namespace kontura
