#pragma once
// The data side of the main window: the start-up sequence that opens the
// shared databases in their order and fills the contest definition, and the
// closing sequence that closes them in order, writes the settings back and
// stops the engine. The window (app/qt/contest_brow.h) shows what this
// prepares.

#include <cstdint>
#include <string>

#include "contest/contest_definition.h"
#include "storage/fileblock.h"

namespace kontura {

class ContestBrowSession {
 public:
  enum class Outcome {
    kReady,          // the window can show the contest list
    kStorageFailed,  // the engine could not start: end with exit code 1
    kProfileFailed,  // FHPRO could not be opened: close the window, no message
  };

  // Runs the start-up steps from the storage start to the contest definition.
  // Shows the empty-prefix-file warning through the platform dialogs.
  Outcome Start();

  // Closes what Start opened, in order, writes the settings back and stops
  // the engine. Safe to call when Start failed half-way; runs once.
  void Close();

  bool started() const { return m_storage_started; }

  // The text of the call-sign label: the own call, else the listener number.
  static std::string CallLabelText();

  // True when FHKK holds no record at all (of any edition): the window leads
  // a first-time user straight into creating a contest.
  bool ContestFileEmpty() const;

  // Rebuilds the definition from the FHKK record buffer and the own locator.
  void FillDefinition();
  const TContestDefinition& Definition() const { return m_definition; }
  TContestDefinition& Definition() { return m_definition; }
  char EditionCode() const { return kEditionCode; }

  // The contest headers the list shows (FHKK); nullptr while closed.
  static Fileblock* ContestFileblock();

  // The list row of the contest in the FHKK record buffer under key_nr.
  static std::string ContestRowOfBuffer(int key_nr);

  // Makes the contest with the latest start date the current FHKK record;
  // false when there is none.
  static bool SelectLatestContest();

  // The key under key_nr and the record number of the current FHKK record,
  // for positioning the list on it; false when there is no current record.
  static bool CurrentContestPosition(int key_nr, std::string* key, int32_t* ref);

  // The warning shown when the prefix file is missing or empty.
  static std::string EmptyPrefixFileText();

 private:
  bool m_storage_started = false;
  bool m_profile_open = false;
  bool m_shared_open = false;  // FHSETUP2, prefixes, FHKK, FHKZ
  TContestDefinition m_definition;
};

}  // namespace kontura
