#pragma once
// Correcting the stored QSOs of an open log: the three list modes of the
// correction window, deleting a QSO and changing one through the detail
// dialog. The window (logging/qt/qso_correction.h) and the logging window's
// own list both come here, so that a QSO is deleted and changed the same way
// from either list.
//
// The QSO in the entry mask is a record of its own (qso_entry.h); nothing
// here touches it. The log's shared record buffer is overwritten by every
// step; a caller that shows it reads its list again afterwards.
//
// Messages and the question go through TheDialogs().

#include <cstdint>
#include <string>
#include <string_view>

#include "logging/entry_mask.h"
#include "logging/log_session.h"
#include "logging/qso_detail.h"
#include "logging/qso_record.h"

namespace kontura {

// Only references here, so that window headers including this one stay
// clear of the entry's names (log_opening.h).
class ContestLog;
class EntityLookup;

inline constexpr char kDeleteInformation[] =
    "Durch das L\xF6schen eines Eintrages werden die Nummern aller nachfolgenden Eintr\xE4ge um 1 verringert.";
inline constexpr char kCorrectionCaption[] = "QSO - Liste (\xC4ndern mit Eingabetaste oder Doppelklick)";
inline constexpr char kBandLogCaption[] = "Band - Log (\xC4ndern mit Eingabetaste oder Doppelklick)";
// The information when the date or the time of the detail dialog does not
// convert; the stored value is kept.
inline constexpr char kDetailDateUnreadable[] = "Datum nicht lesbar - das gespeicherte Datum bleibt.";
inline constexpr char kDetailTimeUnreadable[] = "UTC nicht lesbar - die gespeicherte Zeit bleibt.";

enum class CorrectionMode { kCorrection, kCallSearch, kBandLog };

// What the list window of a mode shows: caption, key and key range.
struct CorrectionView {
  std::string caption;
  int key_nr = 0;
  std::string low;
  std::string high;
};

// Correction: key 13, NumberToKey(1)..NumberToKey(999999999). Call search:
// key 2 from "0" to one 0xFF byte, so that calls beginning with a digit are
// found too. Band log: key 8 restricted to `band`.
CorrectionView CorrectionViewOf(CorrectionMode mode, char band);

// The key the call search goes to: the base call of `typed` in capitals.
std::string CallSearchKey(std::string_view typed);

// The position and size of the list window, kept by the logging window
// while it is open; width 0 = never shown yet.
struct ListWindowGeometry {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
};

// The question before a delete: "Eintrag " + call (at most 20) + " löschen?".
std::string DeleteQuestion(std::string_view call);

enum class DeleteOutcome {
  kNothing,   // no such record, or it is a band-change marker
  kDeclined,  // the operator answered No
  kDeleted,   // deleted; the log renumbered, recounted and summed up
  kFailed,    // the record could not be deleted (storage error state set)
};

// Deletes the QSO with `record_no` (key 4) after the information
// kDeleteInformation and the question DeleteQuestion. Then the log is
// renumbered, recounted, and the summary written, so that the header's
// totals are the sum of the QSO lines. The entry mask is not touched; the
// logging window prepares a new QSO itself.
DeleteOutcome DeleteQso(ContestLog& log, int32_t record_no);

// The detail dialog as the change sees it: shows the model, lets the
// operator edit it, returns when it closes (always with OK).
class QsoDetailRunner {
 public:
  virtual ~QsoDetailRunner() = default;
  virtual void Run(QsoDetailModel& model) = 0;
};

// The dialog's fields from a stored QSO: number, call, reports and fields
// 2-4 of both sides (enabled where the mask shows them), mode and band
// lists with the stored ones selected, date, time, QSL flags, Dxcc, name and
// QTH, frequency.
QsoDetailModel FillDetail(const QsoRecord& qso, const LogContext& ctx, const EntryMask& mask);

// What a read-back found; the caller shows nothing of it, ReadBackDetail
// has already told the operator.
struct DetailReadBack {
  bool relevant = false;      // received exchange, band, mode, points or distance changed
  bool locator_error = false; // "Fehler bei Locator-Angabe" shown, Distance 0
};

// The dialog's fields into `qso`: call, exchanges (each report padded or
// cut to 3), the entity again (with the dialog's own choice flag, cleared
// before), locator and distance, mode, date and time (completed as the mask
// does; a value that still does not convert keeps the stored one and an
// information names the field), QSL flags, Dxcc, band (kept when none is
// selected), points, name and QTH, frequency.
DetailReadBack ReadBackDetail(const QsoDetailModel& model, const LogContext& ctx, EntityLookup& lookup,
                              QsoRecord& qso);

enum class ChangeOutcome {
  kNothing,   // no such record, or a band-change marker
  kStored,    // rewritten
  kRelevant,  // rewritten; the log renumbered, recounted and summed up
};

// Changes the QSO with `record_no` (key 4) through the detail dialog: fills
// the model, runs it, reads it back and rewrites the record; a relevant
// change renumbers, recounts and writes the summary.
ChangeOutcome ChangeQso(ContestLog& log, int32_t record_no, QsoDetailRunner& runner);

}  // namespace kontura
