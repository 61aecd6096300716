#include "storage/storage_error.h"

#include <cstdio>
#include <cstdlib>

namespace kontura {
namespace {

struct ErrorState {
  int32_t error_class = 0;
  int count = 0;
  StorageErrorEntry entries[kMaxErrorEntries];
  Fileblock* operation_fileblock = nullptr;
  int operation = 0;
  FatalStorageHandler fatal;
};

ErrorState& State() {
  static ErrorState s;
  return s;
}

void DefaultFatal() {
  const ErrorState& s = State();
  for (int i = 0; i < s.count; ++i) {
    std::fprintf(stderr, "storage error: class %d code %d key %d ref %d op %d step %d os %d\n",
                 s.entries[i].error_class, s.entries[i].code, s.entries[i].key_nr, s.entries[i].ref,
                 s.entries[i].operation, s.entries[i].step, s.entries[i].os_error);
  }
  std::abort();
}

}  // namespace

int ErrorClassOf(int code) {
  if (code == 0) return 0;
  if (code == 9903 || (code >= 10200 && code <= 10299) || code == 10410) return 1;
  switch (code) {
    case 9900: case 10065: case 10110: case 10306: case 10330: case 10332: case 10335: case 10355:
    case 10360: case 10390: case 10397: case 10399:
      return 2;
    default:
      break;
  }
  if (code >= 10001 && code <= 10009) return 3;
  if (code < 0x3000) return 4;
  if (code < 0x4000) return 1;
  if (code < 0x5000) return 2;
  if (code < 0x6000) return 3;
  if (code < 0x7000) return 4;
  if (code < 0x8000) return 5;
  return 99;
}

void ClearStorageErrors() { storage_detail::ResetErrors(nullptr); }

int32_t StorageErrorClass() { return State().error_class; }
int StorageErrorCount() { return State().count; }
const StorageErrorEntry& StorageErrorAt(int i) { return State().entries[i]; }
Fileblock* StorageErrorFileblock() { return State().operation_fileblock; }

int StorageErrorCode() {
  const ErrorState& s = State();
  int best = -1;
  for (int i = 0; i < s.count; ++i) {
    if (best < 0 || s.entries[i].error_class > s.entries[best].error_class) best = i;
  }
  return best < 0 ? 0 : s.entries[best].code;
}

void SetFatalStorageHandler(FatalStorageHandler handler) { State().fatal = std::move(handler); }

namespace storage_detail {

void ResetErrors(Fileblock* operation_fileblock) {
  ErrorState& s = State();
  s.error_class = 0;
  s.count = 0;
  s.operation_fileblock = operation_fileblock;
}

void SetOperation(int operation) { State().operation = operation; }

void LogError(int code, Fileblock* fb, int step, int key_nr, int32_t ref, int os_error) {
  ErrorState& s = State();
  // Further errors overwrite the last entry; the class keeps the highest.
  int slot = s.count < kMaxErrorEntries ? s.count++ : kMaxErrorEntries - 1;
  StorageErrorEntry& e = s.entries[slot];
  e.error_class = ErrorClassOf(code);
  e.code = code;
  e.key_nr = key_nr;
  e.ref = ref;
  e.operation = s.operation;
  e.step = step;
  e.os_error = os_error;
  e.fileblock = fb;
  if (e.error_class > s.error_class) s.error_class = e.error_class;
}

void ResetErrorsTo(int count) {
  ErrorState& s = State();
  if (count >= s.count) return;
  s.count = count;
  s.error_class = 0;
  for (int i = 0; i < s.count; ++i) {
    if (s.entries[i].error_class > s.error_class) s.error_class = s.entries[i].error_class;
  }
}

void RunFatalHandlerIfNeeded() {
  if (State().error_class < 3) return;
  if (State().fatal) {
    State().fatal();
  } else {
    DefaultFatal();
  }
}

}  // namespace storage_detail
}  // namespace kontura
