#pragma once
// The ADIF import: reading an ADIF file of another logging program into the
// contacts it holds, the tags found in it, the operator's mapping of tags
// onto the log's fields, and the run that puts every contact through the
// logging core's entry, so that an imported contact is checked, scored and
// counted exactly like a typed one.
//
// Only the values of the fields below are read; the length in a tag is not
// used (other programs get it wrong), text outside tags is ignored.

#include <string>
#include <string_view>
#include <vector>

#include "contest/contest_definition.h"

namespace kontura {

class ContestLog;

// Reads the file: every line upper-cased; lines beginning with "#" skipped;
// a line holding "<EOH>" drops everything collected before it (a contact on
// that line too); the other non-blank lines are joined into a contact up to
// and including the line holding "<EOR>". Text after the last "<EOR>" is
// dropped. False when the file cannot be read.
bool ReadAdifFile(const std::string& path, std::vector<std::string>* records);
std::vector<std::string> ReadAdifText(std::string_view text);

// Every distinct tag name of the contacts in the order of first appearance,
// without EOR and without the length part ("CALL" of "<CALL:6>").
std::vector<std::string> CollectAdifTags(const std::vector<std::string>& records);

// The log fields the operator maps tags onto ("Felder im Log"): CALL,
// QSO_DATE, TIME_ON, RST_SENT, RST_RCVD, BAND, FREQ, MODE, then the captions
// of received fields 2 to 4 as the logging window shows them ("Teiln.Nr.",
// "LOC"). A mapped entry reads field + " (" + tag + ")".
class AdifFieldList {
 public:
  explicit AdifFieldList(const TContestDefinition& def);

  const std::vector<std::string>& entries() const { return m_entries; }
  // The captions of received fields 2, 3 and 4 (empty for hidden fields).
  const std::string& ReceivedCaption(int field) const { return m_received.at(static_cast<size_t>(field - 2)); }

  // Maps the entry at `index` onto `tag`; false when it is mapped already.
  bool Map(size_t index, const std::string& tag);
  // Maps the entry of field `field` (any case); false for an unknown field
  // or one mapped already. `tag` empty leaves it unmapped.
  bool MapField(std::string_view field, const std::string& tag);
  // Whether any entry is mapped (the dialog's "Start" is enabled then).
  bool AnyMapped() const;

  // The field names, without mappings.
  std::vector<std::string> FieldNames() const;

 private:
  std::vector<std::string> m_entries;
  std::vector<std::string> m_received;
};

// The default mapping of the command-line import: every entry onto the tag
// of its own name, "Teiln.Nr." onto SRX and "LOC" onto GRIDSQUARE, each only
// when the file has that tag.
void MapByDefault(AdifFieldList& fields, const std::vector<std::string>& tags);

// The value of log field `field` in the contact `contact` (algorithm in the
// .cpp): the mapped tag's value, `fallback` when that is empty, dates
// "yyyymmdd" and "yymmdd" made "dd.mm.yy" and times "hhmmss"/"hhmm" "hh:mm".
// A listed field without a mapping gives "" whatever the fallback.
std::string ExtractAdifField(const std::vector<std::string>& entries, const std::string& contact,
                             std::string_view field, std::string_view fallback);

struct ImportCounts {
  int imported = 0;
  int duplicates = 0;   // rejected by the entry's check (not only duplicates)
  int band_errors = 0;
  int mode_errors = 0;
};

// Mode and band checks of a contact (skipped with "keine Mode/Band-Überprüfung").
bool AdifModeAccepted(const TContestDefinition& def, const std::string& mode);
bool AdifBandAccepted(const TContestDefinition& def, const std::string& band_text, const std::string& freq_text);

// Puts every contact through the entry of the open log with the clock
// paused; the counts as they end. With `no_check` the mode and band checks
// are skipped and only the entry's own check decides.
ImportCounts ImportAdifRecords(ContestLog& log, const std::vector<std::string>& records,
                               const AdifFieldList& fields, bool no_check);

// The lines of the summary box, joined by CR LF.
std::string ImportSummaryText(const ImportCounts& counts);

inline constexpr char kAdifFileMissing[] = "Datei existiert nicht";

}  // namespace kontura
