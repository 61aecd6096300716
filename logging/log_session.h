#pragma once
// The state of one open contest log while it is worked: what the entry mask
// needs between two QSOs (LogSession), the running totals per band
// (ScoreTotals) and what the session takes from the contest header, the
// totals record and the own station (LogOptions).

#include <array>
#include <cstdint>
#include <string>

#include "contest/contest_definition.h"

namespace kontura {

// Running totals per band, indexed by the band code (1..255).
struct ScoreTotals {
  std::array<int32_t, 256> BandPoints{};
  std::array<int32_t, 256> BandQsos{};
  std::array<int32_t, 256> BandMultis{};  // always 0 in this edition
  int32_t CurrentBandPoints = 0;
  int32_t CurrentBandMultis = 0;
  int32_t CurrentBandQsos = 0;
  int32_t NextNumber = 1;  // stored QSOs + 1
};

struct LogSession {
  char CurrentBand = 0;
  std::string CurrentMode;   // at most 6 characters
  bool Editing = false;      // false: the mask holds a new QSO
  bool EnterPressed = false;
  std::string LastCall;      // call of the last call check
  int32_t LastQsoDate = -1;  // of the last QSO that passed the validity check
  int32_t LastQsoTime = -1;
  float LastFrequency = 0;
  std::string RememberedName;  // at most 20 characters
  std::string RememberedQth;
  char QslSendFlag = 'N';
  int32_t NextQsoNo = 1;
  int32_t NextBandSerial = 1;
  int32_t NextBandSerial2 = 1;
  int32_t NextModeSerial = 1;
  std::string LastDxcc;
  // The operator picked the entity of the call in the mask in the choice
  // dialog; later determinations for this QSO reuse that choice.
  bool EntityChosen = false;
  ScoreTotals Totals;
};

// What the session reads from outside the log when it opens: the contest
// header's options, the totals record's "RSTs nicht sperren", and the own
// station. Kept as plain values so that tests and the import set them
// without the fileblocks.
struct LogOptions {
  int32_t ContestNumber = 0;
  std::string ContestName;  // EntryName of the header
  bool AutoDate = true;     // "Datum automatisch setzen"
  bool AutoTime = true;     // "Zeit automatisch setzen"
  bool RstSentFree = false; // false: the sent report is fixed at 59(9)
  bool RstRcvdFree = false;
  bool RstSentUnlocked = false;  // "RSTs nicht sperren": sent fields 2 and 3 editable
  char QslSentDefault = 'N';
  char QslRcvdDefault = 0;
  bool StartSsb = false;
  bool StartFm = false;
  bool StartPr = false;
  std::string OwnLocator;
  // Hours to add to the computer clock to get UTC.
  int32_t TimeOffsetHours = 0;
};

// Everything fixed for the time a contest is open.
struct LogContext {
  TContestDefinition Definition;
  LogOptions Options;
};

}  // namespace kontura
