#pragma once
// The engine's error state: the class of the last operation, the log of its
// errors (at most four entries) and the table that derives a class from an
// error code. Every engine operation empties the log at its start; callers
// test StorageErrorClass() after each call.
//
// Classes 1 and 2 are soft (not found, end of index, key present, file
// absent). Classes 3 and above are fatal: at the end of the operation the
// engine calls the fatal handler, which in the program writes the error log
// file, tells the operator and ends the process. Tests install their own
// handler, which may return; the engine then returns the failure normally.

#include <cstdint>
#include <functional>
#include <string>

namespace kontura {

class Fileblock;

// Error codes the engine raises.
namespace err {
inline constexpr int kPathNotFound = 9900;
inline constexpr int kTooManyFiles = 9901;
inline constexpr int kFileNotFound = 9903;
inline constexpr int kInvalidHandle = 9904;
inline constexpr int kInvalidAccess = 9908;
inline constexpr int kNoPageBuffers = 10000;
inline constexpr int kInterrupted = 10010;
inline constexpr int kCreateRecordLength = 10020;
inline constexpr int kCreateTooManyKeys = 10050;
inline constexpr int kCreateKeyLength = 10055;
inline constexpr int kIndexTooManyKeys = 10060;
inline constexpr int kShortRead = 10070;
inline constexpr int kShortWrite = 10075;
inline constexpr int kIndexGeometry = 10120;
inline constexpr int kIndexKeyLength = 10121;
inline constexpr int kIndexCapacity = 10122;
inline constexpr int kDeleteOutOfRange = 10135;
inline constexpr int kOsError = 10140;
inline constexpr int kFreeChain = 10170;
inline constexpr int kNotFound = 10200;
inline constexpr int kNoneAtOrAfter = 10210;
inline constexpr int kKeyMissing = 10220;
inline constexpr int kKeyPresent = 10230;
inline constexpr int kNoNext = 10250;
inline constexpr int kNoPrev = 10260;
inline constexpr int kApproxEmpty = 10280;
inline constexpr int kPositionEmpty = 10285;
inline constexpr int kApproxScale = 10420;
inline constexpr int kPositionScale = 10425;
inline constexpr int kSavBesideDat = 10465;
inline constexpr int kRecordDeleted = 0x3001;
inline constexpr int kRecordChanged = 0x3015;
inline constexpr int kNoFileblock = 0x304C;
inline constexpr int kCounterOverflow = 24592;
inline constexpr int kRecordLengthDiffers = 24591;
inline constexpr int kTooManyHandles = 24606;
inline constexpr int kKeysDiffer = 24653;
inline constexpr int kNotStarted = 0x7003;
inline constexpr int kHandleCount = 28698;
inline constexpr int kFileNameEmpty = 28677;
inline constexpr int kRecordLengthSmall = 28682;
inline constexpr int kTooManyKeys = 28683;
inline constexpr int kDefineKeyLength = 0x700D;
inline constexpr int kAddNotLive = 0x7011;
inline constexpr int kUpdateNoCurrent = 0x7013;
inline constexpr int kUpdateNotLive = 0x7014;
inline constexpr int kDeleteNoCurrent = 0x7016;
inline constexpr int kDefineKeyNumber = 0x7025;
inline constexpr int kCounterOutside = 28711;
inline constexpr int kStepNoCurrent = 0x702B;
inline constexpr int kDefineKeyZero = 0x702D;
inline constexpr int kFixedBufferSize = 28718;
inline constexpr int kKeyUndefined = 28721;
inline constexpr int kCounterKey = 28726;
inline constexpr int kNoKeyBuilder = 28727;
inline constexpr int kNameOpen = 28728;
inline constexpr int kFileblockOpen = 0x7034;
inline constexpr int kVarBufferSize = 28754;
inline constexpr int kDeleteChanged = 0x7050;
inline constexpr int kNameEmpty = 28761;
inline constexpr int kReentry = 0x7062;
}  // namespace err

// The class of an error code (0 for 0).
int ErrorClassOf(int code);

struct StorageErrorEntry {
  int error_class = 0;
  int code = 0;
  int key_nr = 0;
  int32_t ref = 0;
  int operation = 0;  // the engine call that failed (StorageOp)
  int step = 0;       // where inside it
  int os_error = 0;   // first OS error code seen, 0 if none
  Fileblock* fileblock = nullptr;
};

// Engine calls, as logged in the error entries.
enum StorageOp {
  kOpNone = 0, kOpInit, kOpExit, kOpOpen, kOpClose, kOpDefineKey, kOpCounterField, kOpFind, kOpAdd,
  kOpUpdate, kOpDelete, kOpReadByRef, kOpFindExact, kOpFindAtLeast, kOpFirst, kOpLast, kOpNext,
  kOpPrev, kOpPosition, kOpApprox, kOpCount, kOpErase, kOpFlush, kOpRebuild,
};

inline constexpr int kMaxErrorEntries = 4;

// The class of the last operation: 0 after success, otherwise the highest
// class among its logged errors.
int32_t StorageErrorClass();
int StorageErrorCount();
const StorageErrorEntry& StorageErrorAt(int i);  // 0 .. count-1
// The first logged code of the highest class (0 when none).
int StorageErrorCode();
// The fileblock the last operation was called on (may be destroyed meanwhile).
Fileblock* StorageErrorFileblock();
// Forgets the logged errors: class 0, no entries. For callers that start a
// piece of work of their own outside an engine operation (a rebuild run by a
// tool) and must not see errors of earlier calls.
void ClearStorageErrors();

using FatalStorageHandler = std::function<void()>;
using LockRetryHandler = std::function<bool(const std::string& fileblock_name, int situation)>;

// The handler run at the end of an operation whose class is 3 or above.
// nullptr restores the default, which prints the log to stderr and aborts.
void SetFatalStorageHandler(FatalStorageHandler handler);

// Lock-retry situations.
namespace situation {
inline constexpr int kLocked = 1;
inline constexpr int kLockRecFailed = 2;
inline constexpr int kLockFileFailed = 3;
inline constexpr int kRecordGone = 4;  // the record was deleted meanwhile
inline constexpr int kRebuild = 5;
inline constexpr int kCreate = 6;
inline constexpr int kDriveNotReady = 7;
inline constexpr int kPathNotFound = 8;
}  // namespace situation

// Engine-internal: the state machine of one operation.
namespace storage_detail {
void ResetErrors(Fileblock* operation_fileblock);
// Logs an error of the running operation (see SetOperation).
void LogError(int code, Fileblock* fb, int step = 0, int key_nr = 0, int32_t ref = 0, int os_error = 0);
void SetOperation(int operation);
void RunFatalHandlerIfNeeded();
// Forgets the entries logged after the first count ones (errors a caller
// recovered from).
void ResetErrorsTo(int count);
}  // namespace storage_detail

}  // namespace kontura
