#include "output/adif_import.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <sstream>

#include "logging/log_opening.h"
#include "logging/mask_text.h"
#include "logging/qso_entry.h"
#include "refdata/bands_modes.h"
#include "text/text_util.h"

namespace kontura {
namespace {

constexpr std::string_view kEndOfHeader = "<EOH>";
constexpr std::string_view kEndOfRecord = "<EOR>";

// The fields every import lists first, in this order.
constexpr std::string_view kFixedFields[] = {"CALL", "QSO_DATE", "TIME_ON", "RST_SENT",
                                             "RST_RCVD", "BAND", "FREQ", "MODE"};

bool StartsWith(std::string_view s, std::string_view prefix) { return s.substr(0, prefix.size()) == prefix; }

// The field part of an entry: the entry up to " (" of its mapping.
std::string FieldOf(const std::string& entry) {
  const size_t p = entry.find(" (");
  return p == std::string::npos ? entry : entry.substr(0, p);
}

// The tag of an entry: the text between "(" and ")"; empty when unmapped.
std::string TagOf(const std::string& entry) {
  const size_t open = entry.find('(');
  if (open == std::string::npos) return {};
  const size_t close = entry.find(')', open + 1);
  return entry.substr(open + 1, close == std::string::npos ? std::string::npos : close - open - 1);
}

// A frequency as a plain decimal number: "3.5", "144", "1.815".
std::string DecimalText(double mhz) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%.4f", mhz);
  std::string s = buf;
  while (!s.empty() && s.back() == '0') s.pop_back();
  if (!s.empty() && s.back() == '.') s.pop_back();
  return s;
}

}  // namespace

std::vector<std::string> ReadAdifText(std::string_view text) {
  std::vector<std::string> records;
  std::string partial;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    std::string line = UpperGerman(text.substr(start, end - start));
    start = end + 1;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!line.empty() && line[0] == '#') continue;
    if (const size_t eoh = line.find(kEndOfHeader); eoh != std::string::npos) {
      // Whatever came before the header's end was header, not contacts; a
      // contact may begin right behind it on the same line.
      records.clear();
      partial.clear();
      line.erase(0, eoh + kEndOfHeader.size());
    }
    if (TrimBlanks(line).empty()) continue;
    // Every "<EOR>" ends a contact, also where a line holds several.
    for (size_t eor; (eor = line.find(kEndOfRecord)) != std::string::npos;) {
      partial += line.substr(0, eor + kEndOfRecord.size());
      records.push_back(std::move(partial));
      partial.clear();
      line.erase(0, eor + kEndOfRecord.size());
    }
    if (!TrimBlanks(line).empty()) partial += line;
  }
  return records;
}

bool ReadAdifFile(const std::string& path, std::vector<std::string>* records) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::stringstream s;
  s << in.rdbuf();
  *records = ReadAdifText(s.str());
  return true;
}

std::vector<std::string> CollectAdifTags(const std::vector<std::string>& records) {
  std::vector<std::string> tags;
  for (const std::string& record : records) {
    std::string_view t = record;
    for (size_t lt = t.find('<'); lt != std::string_view::npos; lt = t.find('<')) {
      t.remove_prefix(lt + 1);
      const size_t gt = t.find('>');
      const size_t next_lt = t.find('<');
      if (gt != std::string_view::npos && (next_lt == std::string_view::npos || gt < next_lt)) {
        std::string tag(t.substr(0, gt));
        tag = tag.substr(0, tag.find(':'));
        t.remove_prefix(gt + 1);
        if (tag != "EOR" && std::find(tags.begin(), tags.end(), tag) == tags.end()) tags.push_back(tag);
      } else if (next_lt != std::string_view::npos) {
        // A "<" inside a tag: the tag begun there is not taken either.
        t.remove_prefix(next_lt + 1);
      } else {
        break;
      }
    }
  }
  return tags;
}

AdifFieldList::AdifFieldList(const TContestDefinition& def) {
  for (std::string_view f : kFixedFields) m_entries.emplace_back(f);
  // Received field 2: its label, else "SRX" when it is shown at all.
  std::string second = def.ExchangeLabels[0];
  if (second.empty() && def.RecvKinds[0] != kExchangeHidden) second = "SRX";
  m_received.push_back(second);
  // Fields 3 and 4 under the caption the logging window shows: the label,
  // else the caption of the field's kind ("LOC" for the locator), so that
  // the locator can be mapped and imported QSOs are scored.
  for (size_t i = 1; i < 3; ++i) {
    std::string caption = def.ExchangeLabels[i];
    if (caption.empty()) caption = std::string(ExchangeKindCaption(def.RecvKinds[i]));
    m_received.push_back(caption);
  }
  for (const std::string& caption : m_received) {
    if (!caption.empty()) m_entries.push_back(caption);
  }
}

bool AdifFieldList::Map(size_t index, const std::string& tag) {
  if (index >= m_entries.size() || m_entries[index].find('(') != std::string::npos || tag.empty()) return false;
  m_entries[index] = Concat({m_entries[index], " (", tag, ")"});
  return true;
}

bool AdifFieldList::MapField(std::string_view field, const std::string& tag) {
  const std::string wanted = UpperGerman(field);
  for (size_t i = 0; i < m_entries.size(); ++i) {
    if (UpperGerman(FieldOf(m_entries[i])) != wanted) continue;
    if (tag.empty()) {
      m_entries[i] = FieldOf(m_entries[i]);
      return true;
    }
    return Map(i, UpperGerman(tag));
  }
  return false;
}

bool AdifFieldList::AnyMapped() const {
  for (const std::string& e : m_entries) {
    if (e.find('(') != std::string::npos) return true;
  }
  return false;
}

std::vector<std::string> AdifFieldList::FieldNames() const {
  std::vector<std::string> names;
  for (const std::string& e : m_entries) names.push_back(FieldOf(e));
  return names;
}

void MapByDefault(AdifFieldList& fields, const std::vector<std::string>& tags) {
  auto has = [&tags](std::string_view tag) { return std::find(tags.begin(), tags.end(), tag) != tags.end(); };
  for (const std::string& field : fields.FieldNames()) {
    const std::string upper = UpperGerman(field);
    std::string tag = upper;
    if (field == fields.ReceivedCaption(2) && !has(upper)) tag = "SRX";
    if (upper == "LOC") tag = "GRIDSQUARE";
    if (has(tag)) fields.MapField(field, tag);
  }
}

// ExtractAdifField, step by step:
// 1. An empty field name gives "".
// 2. Field name, fallback and contact are compared in upper case.
// 3. The tag is the field name itself unless an entry of the field list
//    starts with the field name (in any case; the list shows "Teiln.Nr.");
//    then it is that entry's mapping, and an entry without one gives "" at
//    once. Fields that are not listed (NAME, QTH, SRX) go by their own name.
// 4. The value is the text behind the ">" that follows the first "<" + tag,
//    up to the next "<", trimmed.
// 5. An empty value takes the fallback.
// 6. Dates and times are converted to what the entry fields take.
std::string ExtractAdifField(const std::vector<std::string>& entries, const std::string& contact,
                             std::string_view field, std::string_view fallback) {
  if (field.empty()) return {};
  const std::string name = UpperGerman(field);
  std::string tag = name;
  for (const std::string& entry : entries) {
    if (StartsWith(UpperGerman(entry), name)) tag = TagOf(entry);
  }
  if (tag.empty()) return {};

  std::string value;
  const std::string text = UpperGerman(contact);
  const size_t at = text.find("<" + tag);
  if (at != std::string::npos) {
    const size_t gt = text.find('>', at);
    if (gt != std::string::npos) {
      value = TrimBlanks(std::string_view(text).substr(gt + 1));
      value = TrimBlanks(value.substr(0, value.find('<')));
    }
  }
  if (value.empty() && !fallback.empty()) value = UpperGerman(fallback);

  if (name == "QSO_DATE") {
    if (value.size() == 8) value = Concat({value.substr(6, 2), ".", value.substr(4, 2), ".", value.substr(2, 2)});
    else if (value.size() == 6) value = Concat({value.substr(4, 2), ".", value.substr(2, 2), ".", value.substr(0, 2)});
  } else if (name == "TIME_ON") {
    if (value.size() == 6 || value.size() == 4) value = Concat({value.substr(0, 2), ":", value.substr(2, 2)});
  }
  return value;
}

bool AdifModeAccepted(const TContestDefinition& def, const std::string& mode) {
  const std::string m = UpperGerman(mode);
  bool digital = false;
  for (const std::string& name : def.ModeNames) {
    if (name.empty()) break;
    if (name == m) return true;
    if (name == "DIGITAL") digital = true;
  }
  return digital && m != "CW" && m != "SSB" && m != "FM";
}

namespace {

bool ContestHasBand(const TContestDefinition& def, char band) {
  return band != 0 && std::find(std::begin(def.BandCodes), std::end(def.BandCodes), band) != std::end(def.BandCodes);
}

// The band of the contest a BAND text names ("80M", "2M", "70CM", a band
// name); 0 when it names none of them.
char ContestBandOfText(const TContestDefinition& def, const std::string& band_text) {
  const std::string b = UpperGerman(band_text);
  if (b.empty()) return 0;
  for (char c : def.BandCodes) {
    if (c == 0) continue;
    if (BandCodeOfText(b) == c) return c;
    if (b == UpperGerman(BandName(c, true)) || b == UpperGerman(BandName(c, false))) return c;
  }
  return 0;
}

// The band a contact is stored on: the band of its frequency when that is
// a band of the contest; else the contest band its BAND text names, so that
// a frequency outside every band range (3.95 MHz) or one that contradicts
// the BAND tag does not store the QSO without a band or on a band the
// contest does not have; else the frequency's band (with the check off).
char ImportBand(const TContestDefinition& def, const std::string& freq_text, const std::string& band_text) {
  const char of_frequency = BandOfFrequency(TypedFrequency(freq_text));
  if (ContestHasBand(def, of_frequency)) return of_frequency;
  const char named = ContestBandOfText(def, band_text);
  return named != 0 ? named : of_frequency;
}

}  // namespace

bool AdifBandAccepted(const TContestDefinition& def, const std::string& band_text, const std::string& freq_text) {
  if (!freq_text.empty() && ContestHasBand(def, BandOfFrequency(TypedFrequency(freq_text)))) return true;
  return ContestBandOfText(def, band_text) != 0;
}

ImportCounts ImportAdifRecords(ContestLog& log, const std::vector<std::string>& records,
                               const AdifFieldList& fields, bool no_check) {
  using F = MaskField;
  ImportCounts counts;
  QsoEntry& e = log.entry();
  const TContestDefinition& def = log.context().Definition;
  const std::vector<std::string>& entries = fields.entries();
  const bool was_paused = e.ClockPaused();
  e.PauseClock(true);
  // Whatever the operator had begun in the mask (or was correcting) is not
  // the first contact's.
  e.NewQso();

  for (const std::string& contact : records) {
    auto get = [&](std::string_view field, std::string_view fallback) {
      return ExtractAdifField(entries, contact, field, fallback);
    };
    auto set = [&](F f, std::string_view field, bool with_fallback) {
      e.Type(f, get(field, with_fallback ? e.mask()[f].text : std::string()));
    };
    set(F::kCall, "CALL", true);
    set(F::kDate, "QSO_DATE", true);
    set(F::kTime, "TIME_ON", true);
    set(F::kName, "NAME", true);
    set(F::kQth, "QTH", true);
    set(F::kSentReport, "RST_SENT", true);
    set(F::kRecvReport, "RST_RCVD", true);
    set(F::kRecv2, fields.ReceivedCaption(2), false);
    set(F::kRecv2, "SRX", true);
    set(F::kRecv3, fields.ReceivedCaption(3), false);
    set(F::kRecv4, fields.ReceivedCaption(4), false);

    // A contact that is skipped or refused leaves nothing behind for the
    // next one: the entry is prepared anew, as after a saved QSO.
    const std::string mode = get("MODE", e.session().CurrentMode);
    if (!no_check && !AdifModeAccepted(def, mode)) {
      ++counts.mode_errors;
      e.NewQso();
      continue;
    }
    // A mode of its own takes the mode change of the entry (running number
    // per mode, the mode's report), as choosing it in the window does.
    if (!mode.empty() && mode != e.session().CurrentMode) e.ChangeMode(mode);

    const std::string freq_field = e.mask()[F::kFrequency].text;
    const std::string freq_value = get("FREQ", freq_field);
    const std::string band_value = get("BAND", freq_field);
    if (!no_check && !AdifBandAccepted(def, band_value, freq_value)) {
      ++counts.band_errors;
      e.NewQso();
      continue;
    }
    std::string freq = get("FREQ", freq_field);
    if (freq.empty()) {
      const double nominal = NominalFrequencyOfText(get("BAND", freq));
      if (nominal > 0) freq = DecimalText(nominal);
    }
    std::replace(freq.begin(), freq.end(), '.', ',');
    e.Type(F::kFrequency, freq);
    if (!freq.empty()) {
      // A band other than the current one goes through the band change,
      // which takes that band's running numbers and totals.
      const char band = ImportBand(def, freq, band_value);
      if (band != 0 && band != e.session().CurrentBand) e.SelectBand(band);
    }

    // The call check (duplicates, entity, call book) as leaving the call
    // field runs it, then the save without the clock.
    e.LeaveField(F::kCall);
    if (e.Save(true) == SaveResult::kStored) {
      ++counts.imported;
    } else {
      ++counts.duplicates;
      e.NewQso();
    }
  }
  e.PauseClock(was_paused);
  return counts;
}

std::string ImportSummaryText(const ImportCounts& c) {
  std::string text = Concat({std::to_string(c.imported), " Datens\xE4tze importiert"});
  if (c.duplicates > 0) text += Concat({"\r\n", std::to_string(c.duplicates), " Calls doppelt"});
  if (c.band_errors > 0) text += Concat({"\r\n", std::to_string(c.band_errors), " fehlende oder falsche Bandangaben"});
  if (c.mode_errors > 0) text += Concat({"\r\n", std::to_string(c.mode_errors), " fehlende oder falsche Modeangaben"});
  return text;
}

}  // namespace kontura
