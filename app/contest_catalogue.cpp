#include "app/contest_catalogue.h"

#include <cstring>
#include <vector>

#include "app/contest_brow.h"
#include "app/contest_list.h"
#include "contest/contest_header.h"
#include "contest/contest_totals.h"
#include "contest/contest_totals_store.h"
#include "platform/platform.h"
#include "storage/catalogue.h"
#include "storage/key_encoding.h"
#include "storage/storage_error.h"
#include "text/calendar.h"
#include "text/text_util.h"

namespace kontura {
namespace {

constexpr int kHeaderNumberKey = 3;  // FHKK: NumberToKey(ContestNumber)
constexpr int kTotalsNumberKey = 1;  // FHKZ: the same

// Finds the stored record again by number and puts back what the buffer
// held for that contest, so that the update lands on this contest's record
// even when the current position moved; a buffer holding another record is
// not written anywhere.
void WriteBackBuffer(Fileblock* fb, int key_nr, int32_t number, bool buffer_holds_contest) {
  if (!fb) return;
  std::vector<uint8_t> held(fb->RecordBuffer(), fb->RecordBuffer() + fb->record_length());
  fb->FindExact(key_nr, NumberToKey(number));
  if (StorageErrorClass() != 0) return;
  if (!buffer_holds_contest) return;
  std::memcpy(fb->RecordBuffer(), held.data(), held.size());
  fb->UpdateRecord();
}

}  // namespace

ContestCatalogue::ContestCatalogue(ContestBrowSession& session, ConfigurationDialogRunner& dialog,
                                   LogWindowLauncher& log_window, std::function<WindowPlacement()> placement)
    : m_session(session), m_dialog(dialog), m_log_window(log_window), m_placement(std::move(placement)) {}

std::string ContestCatalogue::NewVersionNotice() {
  return "Bitte pr\xFC" "fen Sie vor dem Contest, ob eine neuere Version des Programms vorliegt.";
}

bool ContestCatalogue::ReadContest(int32_t contest_number) {
  Fileblock* fhkk = CatalogueHandle(CatalogueId::kFhkk);
  if (!fhkk || contest_number <= 0) return false;
  fhkk->FindExact(kHeaderNumberKey, NumberToKey(contest_number));
  if (StorageErrorClass() != 0) return false;
  return EnsureContestTotals(contest_number);
}

void ContestCatalogue::New() {
  // The definition takes this year for its contest name from the start date.
  std::vector<uint8_t> today(contest_header::kSize, 0);
  TContestHeader(today.data()).SetDateFrom(Today());
  TheDialogs().ShowMessage(NewVersionNotice());
  FillDefinitionFromHeader(m_session.Definition(), today.data());
  const ConfigDialogResult r = m_dialog.RunConfigurationDialog(ConfigMode::kNew, m_session.Definition());
  if (!ReadContest(r.contest_number)) return;
  if (r.start) StartLogging(r.contest_number);
}

void ContestCatalogue::Start(int32_t contest_number) {
  if (!ReadContest(contest_number)) return;
  m_session.FillDefinition();
  const ConfigDialogResult r = m_dialog.RunConfigurationDialog(ConfigMode::kEdit, m_session.Definition());
  if (!ReadContest(contest_number) || !r.start) return;
  StartLogging(contest_number);
  if (!ReadContest(contest_number)) return;
  m_session.FillDefinition();
  m_dialog.RunConfigurationDialog(ConfigMode::kAfterLogging, m_session.Definition());
  ReadContest(contest_number);
}

void ContestCatalogue::StartLogging(int32_t contest_number) {
  if (!ReadContest(contest_number)) return;
  m_session.FillDefinition();
  m_log_window.RunLogWindow(contest_number, m_session.Definition(), m_placement ? m_placement() : WindowPlacement{});
  // The totals and settings the logging window changed are stored now.
  Fileblock* fhkk = CatalogueHandle(CatalogueId::kFhkk);
  Fileblock* fhkz = CatalogueHandle(CatalogueId::kFhkz);
  if (!fhkk || !fhkz) return;
  WriteBackBuffer(fhkk, kHeaderNumberKey, contest_number,
                  ConstContestHeader(fhkk->RecordBuffer()).ContestNumber() == contest_number);
  WriteBackBuffer(fhkz, kTotalsNumberKey, contest_number,
                  ConstContestTotals(fhkz->RecordBuffer()).ContestNumber() == contest_number);
}

void ContestCatalogue::Delete(int32_t contest_number) {
  if (!ReadContest(contest_number)) return;
  const std::string name = ConstContestHeader(CatalogueRecord(CatalogueId::kFhkk)).EntryName();
  if (!TheDialogs().AskYesNo("Eintrag " + name + " l\xF6schen?")) return;
  EraseContest(contest_number);
}

bool ContestCatalogue::DeleteWithoutQuestion(int32_t contest_number) {
  if (!ReadContest(contest_number)) return false;
  return EraseContest(contest_number);
}

bool ContestCatalogue::EraseContest(int32_t contest_number) {
  if (!OpenFHLK(contest_number)) return false;
  CatalogueHandle(CatalogueId::kFhlk)->EraseFiles();
  CloseFHLK();
  Fileblock* fhkz = CatalogueHandle(CatalogueId::kFhkz);
  fhkz->FindExact(kTotalsNumberKey, NumberToKey(contest_number));
  if (StorageErrorClass() == 0) fhkz->DeleteRecord(kAfterNext);
  Fileblock* fhkk = CatalogueHandle(CatalogueId::kFhkk);
  fhkk->FindExact(kHeaderNumberKey, NumberToKey(contest_number));
  if (StorageErrorClass() != 0) return false;
  fhkk->DeleteRecord(kAfterNext);
  return true;
}

std::string ContestCatalogue::QuickSearchKey(int key_nr, char edition_code, const std::string& upper_text) {
  const std::string edition(1, edition_code);
  const std::string plain = edition + upper_text;
  Fileblock* fhkk = CatalogueHandle(CatalogueId::kFhkk);
  if (key_nr != kContestListKeyName || !fhkk || upper_text.empty()) return plain;
  for (fhkk->FindAtLeast(key_nr, edition); StorageErrorClass() == 0; fhkk->Next(key_nr)) {
    const std::string key = fhkk->MakeKey(key_nr);
    if (key.compare(0, 1, edition) != 0) break;
    if (UpperGerman(key.substr(1)).compare(0, upper_text.size(), upper_text) == 0) return key;
  }
  return plain;
}

}  // namespace kontura
