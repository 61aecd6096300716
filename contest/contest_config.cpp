#include "contest/contest_config.h"

#include <algorithm>
#include <cstring>

#include "platform/platform.h"
#include "refdata/bands_modes.h"
#include "refdata/date_time_pictures.h"
#include "refdata/locator.h"
#include "refdata/setup_record.h"
#include "refdata/suite_settings.h"
#include "storage/catalogue.h"
#include "storage/key_encoding.h"
#include "storage/storage_error.h"
#include "text/date_time_text.h"
#include "text/picture_format.h"
#include "text/text_util.h"
#include "ui/fk_edit.h"

namespace kontura {
namespace {

constexpr std::string_view kDialogDatePicture = "dd.mm.yyyy";
constexpr std::string_view kSumPicture = "#####";
constexpr std::string_view kTotalPicture = "######";
constexpr std::string_view kScorePicture = "#########";
constexpr size_t kOwnLocatorLength = 6;

bool Blank(const std::string& s) { return TrimBlanks(s).empty(); }

// The definition's default times are five characters ("05:30") although
// they are read with a seconds picture; a text without seconds is read as
// hours and minutes.
int32_t DefaultTimeOf(const std::string& text) {
  int32_t t = TextToTime("hh:mm:ss", text);
  if (t < 0 && text.size() == 5) t = TextToTime("hh:mm", text);
  return t;
}

std::string DateText(int32_t d) { return d < 1 ? std::string() : DateToText(kDialogDatePicture, d); }
std::string TimeText(int32_t t) { return t < 1 ? std::string() : TimeToText(TimePicture, t); }
std::string CharText(char c) { return c == 0 ? std::string() : std::string(1, c); }
char FirstChar(const std::string& s) { return s.empty() ? '\0' : s[0]; }

// The text before the first blank and the rest (the suite keeps postcode and
// town as one text).
void SplitPostcodeTown(const std::string& text, std::string* plz, std::string* town) {
  size_t blank = text.find(' ');
  *plz = text.substr(0, blank);
  *town = blank == std::string::npos ? std::string() : text.substr(blank + 1);
}

bool SentKindsAskLocator(const TContestDefinition& def) {
  auto is_locator = [](int32_t k) { return k == kExchangeLocator4 || k == kExchangeLocator6; };
  return is_locator(def.SentKinds[0]) || is_locator(def.SentKinds[1]);
}

std::string Trimmed(int64_t v, std::string_view picture) { return TrimBlanks(FormatPictureInt(picture, v)); }

}  // namespace

int32_t ConfigDateOf(const std::string& text) { return TextToDate(kDialogDatePicture, CompleteDate(text)); }
int32_t ConfigTimeOf(const std::string& text) { return TextToTime(TimePicture, CompleteTime(text)); }

std::string ParticipantNoText(int32_t stored) {
  if (stored == 0) return {};  // nothing was typed: an empty field keeps it so
  if (stored == -1) return "0";
  return Trimmed(stored, "#####");
}

int32_t ParticipantNoOf(const std::string& text) {
  std::string t = TrimBlanks(text);
  if (t == "0") return -1;
  return static_cast<int32_t>(ReadIntegerNumber(t, fkeditdatatype::dtLongint).value_or(0));
}

void FillDefinitionFromHeader(TContestDefinition& def, const uint8_t* header) {
  ContestDefinitionInputs inputs;
  if (header) {
    ConstContestHeader h(header);
    inputs.header_start_date = h.DateFrom();
    inputs.header_participant_number = h.ParticipantNo();
  }
  inputs.own_locator = TheSuiteSettings().OwnLocator;
  FillContestDefinition(def, inputs, TheClock());
}

std::string ContestConfig::OutputsUnavailableText() {
  return "Die Ausgaben (Drucken, E-Log, ADIF und CSV) sind in dieser Programmversion noch nicht "
         "verf\xFC" "gbar. Die Konfiguration wurde gespeichert.";
}

ContestConfig::ContestConfig(ConfigMode mode, TContestDefinition& def)
    : m_mode(mode), m_def(def), m_header(contest_header::kSize, 0), m_totals(contest_totals::kSize, 0) {}

ConfigFields ContestConfig::Open() {
  const SuiteSettings& settings = TheSuiteSettings();
  TContestHeader h(m_header.data());
  if (m_mode == ConfigMode::kNew) {
    PresetNewContest(h, settings.OwnLocator, settings.OwnCall, kEditionCode);
  } else {
    if (const uint8_t* rec = CatalogueRecord(CatalogueId::kFhkk)) std::memcpy(m_header.data(), rec, m_header.size());
    if (const uint8_t* rec = CatalogueRecord(CatalogueId::kFhkz)) std::memcpy(m_totals.data(), rec, m_totals.size());
  }

  // Unset dates and times take the definition's defaults where it has some.
  auto preset = [](int32_t current, int32_t preset_value, void (TContestHeader::*set)(int32_t), TContestHeader& hh) {
    if (current == 0 && preset_value >= 0) (hh.*set)(preset_value);
  };
  preset(h.DateFrom(), TextToDate("dd.mm.yyyy", m_def.DefaultDateFrom), &TContestHeader::SetDateFrom, h);
  preset(h.DateTo(), TextToDate("dd.mm.yyyy", m_def.DefaultDateTo), &TContestHeader::SetDateTo, h);
  preset(h.TimeFrom(), DefaultTimeOf(m_def.DefaultTimeFrom), &TContestHeader::SetTimeFrom, h);
  preset(h.TimeTo(), DefaultTimeOf(m_def.DefaultTimeTo), &TContestHeader::SetTimeTo, h);

  ConfigFields f;
  f.name = h.EntryName();
  f.call = h.ContestCall();
  f.dok = h.HeaderDok();
  f.swl = settings.SwlNumber;
  f.date_from = DateText(h.DateFrom());
  f.date_to = DateText(h.DateTo());
  f.time_from = TimeText(h.TimeFrom());
  f.time_to = TimeText(h.TimeTo());
  f.auto_date = h.AutoDate();
  f.auto_time = h.AutoTime();
  f.auto_band = h.AutoBand();
  f.rst_sent_fixed = !h.RstSentFree();
  f.rst_rcvd_fixed = !h.RstRcvdFree();
  f.qsl_sent = CharText(h.QslSentDefault());
  f.qsl_rcvd = CharText(h.QslRcvdDefault());
  if (m_mode != ConfigMode::kNew) {
    f.local_time = settings.TimeOffsetHours != 0;
    f.utc_time = !f.local_time;
  }
  // The category cannot be changed once stored.
  f.category_enabled = h.CategoryNo() == 0;
  const int items = static_cast<int>(CategoryItems().size());
  f.category = h.CategoryNo() >= 1 && h.CategoryNo() <= items ? h.CategoryNo() - 1 : -1;
  f.start_ssb = h.StartSsb();
  f.start_fm = h.StartFm();
  f.start_pr = h.StartPr();
  ConstContestTotals totals(m_totals.data());
  f.rst_unlocked = totals.RstSentUnlocked();
  f.log_uncounted_dupes = totals.LogUncountedDupes();

  // The own-station address lives in the suite's set-up record.
  f.contact_name = settings.OwnName;
  f.locator = settings.OwnLocator;
  if (OpenFHSETUP()) {
    Fileblock* setup = CatalogueHandle(CatalogueId::kFhsetup);
    if (FirstRecordOrAddCleared(setup) || StorageErrorClass() == 0) {
      ConstSetupRecord s(setup->RecordBuffer());
      f.contact_name = s.OwnName();
      SplitPostcodeTown(s.OwnCity(), &f.plz, &f.town);
      f.street = s.OwnStreet();
      f.country = s.OwnCountry();
      f.locator = s.OwnLocator();
      f.dok = s.OwnDok();
    }
    CloseFHSETUP();
  }
  f.participant_no = ParticipantNoText(h.ParticipantNo());
  return f;
}

std::string ContestConfig::Caption() const {
  std::string quoted = "\"" + m_def.ContestName + "\"";
  return m_mode == ConfigMode::kAfterLogging ? quoted : quoted + "  Contest-Konfiguration";
}

std::vector<std::string> ContestConfig::CategoryItems() const {
  std::vector<std::string> items;
  for (const CategoryEntry& c : m_def.Categories) {
    if (!c.LongName.empty()) items.push_back(c.LongName);
  }
  return items;
}

int ContestConfig::CategoryColumns() const { return CategoryItems().size() > 7 ? 2 : 1; }

ModeButtons ContestConfig::VisibleModeButtons() const {
  ModeButtons b;
  if (ConstContestHeader(m_header.data()).CategoryNo() == 0 && m_mode == ConfigMode::kNew) {
    return ModeButtons{true, true, true, "PR"};
  }
  for (const std::string& mode : m_def.ModeNames) {
    if (mode == "CW") b.cw = true;
    else if (mode == "SSB") b.ssb = true;
    else if (mode == "FM") b.fm = true;
    else if (mode == "PR") b.fourth = "PR";
    else if (mode == "DIGITAL") b.fourth = "DIGI";
    else if (mode == "FSK441" || mode == "RTTY") b.fourth = mode;
  }
  return b;
}

TotalsView ContestConfig::Totals() const {
  ConstContestHeader h(m_header.data());
  TotalsView v;
  int64_t qso = 0, multi = 0, points = 0;
  for (int pos = 1; pos <= contest_header::kBandPositions; ++pos) {
    qso += h.SumQso(pos);
    multi += h.SumMulti(pos);
    points += h.SumPoints(pos);
    TotalsLine& line = v.lines[pos - 1];
    const char code = m_def.BandCodes[pos - 1];
    line.visible = code != 0;
    if (!line.visible) continue;
    line.band = BandName(code, false);
    line.qso = FormatPictureInt(kSumPicture, h.SumQso(pos));
    line.multi = FormatPictureInt(kSumPicture, h.SumMulti(pos));
    line.points = FormatPictureInt(kSumPicture, h.SumPoints(pos));
  }
  v.qso_total = Trimmed(qso, kTotalPicture) + " QSO";
  v.multi_total = Trimmed(multi, kTotalPicture) + " Multi x";
  v.points_total = Trimmed(points, kTotalPicture) + " Punkte =";
  v.score = TrimBlanks(FormatPictureInt(kScorePicture, multi < 1 ? points : multi * points) + " Pkt.");
  return v;
}

std::string ContestConfig::FieldLeft(ConfigField field, const std::string& text_at_focus, const std::string& text) {
  uint8_t bit = 0;
  std::string completed = text;
  switch (field) {
    case ConfigField::kDateFrom: bit = kEditedDateFrom; completed = CompleteDate(text); break;
    case ConfigField::kDateTo: bit = kEditedDateTo; completed = CompleteDate(text); break;
    case ConfigField::kTimeFrom: bit = kEditedTimeFrom; completed = CompleteTime(text); break;
    case ConfigField::kTimeTo: bit = kEditedTimeTo; completed = CompleteTime(text); break;
    default: return text;
  }
  if (completed != text_at_focus) m_edited_bits |= bit;
  return completed;
}

ConfigSaveResult ContestConfig::Refuse(ConfigField field, const std::string& message) const {
  TheDialogs().Beep();
  TheDialogs().ShowMessage(message);
  ConfigSaveResult r;
  r.outcome = ConfigSaveResult::Outcome::kRefused;
  r.mark = field;
  return r;
}

// Every check of a save, in the order the operator meets the messages. No
// value is taken over before all of them have passed, so a refused save
// leaves the header copy and the program-wide values as they were.
bool ContestConfig::CheckFields(const ConfigFields& f, SaveInitiator who, ConfigSaveResult* refused) const {
  if (who == SaveInitiator::kCategoryClick) return true;
  auto refuse = [&](ConfigField field, const char* message) {
    *refused = Refuse(field, message);
    return false;
  };
  if (Blank(f.name)) return refuse(ConfigField::kName, "Eingabe eines Contest-Namens notwendig.");
  if (Blank(f.plz)) return refuse(ConfigField::kPlz, "Angabe der Postleitzahl und des Ortes notwendig.");
  // Every QSO scores the distance from the own locator: without a complete
  // one every QSO would score 0.
  if (SentKindsAskLocator(m_def) && (f.locator.size() != kOwnLocatorLength || !IsLocatorText(f.locator))) {
    return refuse(ConfigField::kLocator, "Angabe des Standortlocators notwendig.");
  }
  if (Blank(f.call) && Blank(f.swl)) return refuse(ConfigField::kCall, "Eingabe des Rufzeichens notwendig.");
  if (ConfigDateOf(f.date_from) < 1) return refuse(ConfigField::kDateFrom, "Eingabe eines Contest-Datums notwendig.");
  if (ConfigDateOf(f.date_to) < 1) return refuse(ConfigField::kDateTo, "Eingabe eines Contest-Datums notwendig.");
  if (f.time_group_enabled && !f.local_time && !f.utc_time) {
    return refuse(ConfigField::kComputerTime, "Es wurde nicht bestimmt, ob der Computer mit Ortszeit l\xE4uft.");
  }
  if (f.category_enabled && f.category < 0) {
    return refuse(ConfigField::kCategory, "Sie haben keine Teilnahmeart angegeben.");
  }
  return true;
}

void ContestConfig::TakeFields(const ConfigFields& f) {
  TContestHeader h(m_header.data());
  h.SetEntryName(f.name);
  h.SetContestCall(f.call);
  h.SetHeaderDok(f.dok);
  h.SetDateFrom(ConfigDateOf(f.date_from));
  h.SetDateTo(ConfigDateOf(f.date_to));
  h.SetTimeFrom(ConfigTimeOf(f.time_from));
  h.SetTimeTo(ConfigTimeOf(f.time_to));
  h.MarkEdited(m_edited_bits);
  h.SetHeaderMark('D');
  h.SetAutoTime(f.auto_time);
  h.SetAutoDate(f.auto_date);
  h.SetAutoBand(f.auto_band);
  h.SetRstRcvdFree(!f.rst_rcvd_fixed);
  h.SetRstSentFree(!f.rst_sent_fixed);
  h.SetQslSentDefault(FirstChar(f.qsl_sent));
  h.SetQslRcvdDefault(FirstChar(f.qsl_rcvd));
  if (f.category_enabled && f.category >= 0) h.SetCategoryNo(static_cast<uint8_t>(f.category + 1));
  h.SetStartSsb(f.start_ssb);
  h.SetStartFm(f.start_fm);
  h.SetStartPr(f.start_pr);
  h.SetParticipantNo(ParticipantNoOf(f.participant_no));

  SuiteSettings& s = TheSuiteSettings();
  s.OwnCall = f.call;
  s.OwnLocator = f.locator;
  s.SwlNumber = f.swl;
  s.OwnName = f.contact_name;
  s.TimeOffsetHours = f.utc_time ? 0 : m_def.UtcOffsetHours;
}

void ContestConfig::StoreAddress(const ConfigFields& f, SaveInitiator who) {
  const std::string city = f.plz + " " + f.town;
  std::string plz;
  std::string town;
  SplitPostcodeTown(city, &plz, &town);
  TContestHeader(m_header.data()).SetHeaderPlz(plz.substr(0, 5));
  if (!OpenFHSETUP()) return;
  Fileblock* setup = CatalogueHandle(CatalogueId::kFhsetup);
  FirstRecordOrAddCleared(setup);
  if (StorageErrorClass() == 0) {
    SetupRecord s(setup->RecordBuffer());
    s.SetOwnName(f.contact_name);
    s.SetOwnCity(city);
    s.SetOwnStreet(f.street);
    s.SetOwnCountry(f.country);
    s.SetOwnDok(f.dok);
    s.SetOwnLocator(f.locator);
    setup->UpdateRecord();
  }
  if (who == SaveInitiator::kDruckenELog && (Blank(f.contact_name) || Blank(f.street) || Blank(city))) {
    TheDialogs().ShowMessage("Die Adress-Angaben sind nicht vollst\xE4ndig.");
  }
  CloseFHSETUP();
}

// Puts the copies into the record buffers and stores them. Edit mode finds
// the stored records again by the contest number first, so that the update
// lands on this contest whatever the list has read into the buffers since.
bool ContestConfig::StoreRecords(const ConfigFields& f) {
  Fileblock* fhkk = CatalogueHandle(CatalogueId::kFhkk);
  Fileblock* fhkz = CatalogueHandle(CatalogueId::kFhkz);
  if (!fhkk || !fhkz) return false;
  TContestTotals totals(m_totals.data());
  totals.SetRstSentUnlocked(f.rst_unlocked);
  totals.SetLogUncountedDupes(f.log_uncounted_dupes);

  if (m_mode == ConfigMode::kNew) {
    std::memcpy(fhkk->RecordBuffer(), m_header.data(), m_header.size());
    fhkk->AddRecord();
    if (StorageErrorClass() != 0) return false;
    std::memcpy(m_header.data(), fhkk->RecordBuffer(), m_header.size());
    m_mode = ConfigMode::kEdit;
    m_totals_missing = true;
  } else {
    const int32_t number = ContestNumber();
    fhkk->FindExact(3, NumberToKey(number));
    if (StorageErrorClass() != 0) return false;
    std::memcpy(fhkk->RecordBuffer(), m_header.data(), m_header.size());
    fhkk->UpdateRecord();
    if (StorageErrorClass() != 0) return false;
  }

  const int32_t number = ContestNumber();
  totals.SetContestNumber(number);
  if (!m_totals_missing) {
    fhkz->FindExact(1, NumberToKey(number));
    m_totals_missing = StorageErrorClass() != 0;
  }
  std::memcpy(fhkz->RecordBuffer(), m_totals.data(), m_totals.size());
  if (m_totals_missing) {
    fhkz->AddRecord();
  } else {
    fhkz->UpdateRecord();
  }
  if (StorageErrorClass() != 0) return false;
  m_totals_missing = false;
  return true;
}

void ContestConfig::RefillDefinition() { FillDefinitionFromHeader(m_def, m_header.data()); }

ConfigSaveResult ContestConfig::Save(const ConfigFields& f, SaveInitiator who) {
  ConfigSaveResult result;
  if (!CheckFields(f, who, &result)) return result;
  TakeFields(f);
  StoreAddress(f, who);
  const bool checked = who != SaveInitiator::kCategoryClick;
  if (checked && ParticipantNoOf(f.participant_no) == 0) {
    TheDialogs().ShowMessage("Sie haben keine Teilnehmernummer eingegeben.");
    result.focus = ConfigField::kParticipantNo;
  }
  if (!StoreRecords(f)) {
    TheDialogs().ShowMessage("Fehler bei Dateneingabe. Datensatz evtl. schon vorhanden.");
    result.outcome = ConfigSaveResult::Outcome::kStorageFailed;
    return result;
  }
  m_edited_bits = 0;
  RefillDefinition();
  result.outcome = ConfigSaveResult::Outcome::kSaved;
  return result;
}

}  // namespace kontura
