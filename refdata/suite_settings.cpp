#include "refdata/suite_settings.h"

#include "refdata/setup_record.h"
#include "text/text_util.h"

namespace kontura {

namespace {

constexpr uint32_t kOldBackground = 0x02CD9E87;
constexpr uint32_t kBackground = 0x02CF9F7F;

// Only a-z are raised: umlauts and every other byte stay as typed.
char RaiseAscii(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

}  // namespace

SuiteSettings& TheSuiteSettings() {
  static SuiteSettings settings;
  return settings;
}

uint32_t LoadedBackgroundColour(uint32_t stored) { return stored == kOldBackground ? kBackground : stored; }

void TakeSetupRecord(const uint8_t* setup_rec, SuiteSettings& s) {
  ConstSetupRecord r(setup_rec);
  if (!r.SuffixText(1).empty()) {
    std::array<SuffixEntry, kStoredSuffixEntries> entries;
    for (int i = 1; i <= setup_record::kSuffixEntryCount; ++i) {
      entries[static_cast<size_t>(i - 1)] = SuffixEntry{r.SuffixText(i), r.SuffixType(i)};
    }
    s.StoredSuffixes = entries;
  }
  s.NameCase = r.NameCase();
  // A record that another program created without colours has all five
  // panel and label colours at 0; then the program's own colours stay, the
  // background and bar colours included.
  if (r.PanelColour() != 0 || r.LabelTextColour() != 0 || r.HighlightLabelColour() != 0 ||
      r.ListHeaderColour() != 0 || r.ListHeaderTextColour() != 0) {
    s.PanelColour = r.PanelColour();
    s.LabelTextColour = r.LabelTextColour();
    s.HighlightLabelColour = r.HighlightLabelColour();
    s.ListHeaderColour = r.ListHeaderColour();
    s.ListHeaderTextColour = r.ListHeaderTextColour();
    s.BackgroundColour = LoadedBackgroundColour(r.BackgroundColour());
    s.BarColour = r.BarColour();
  }
  s.OwnLocator = r.OwnLocator();
  s.OwnName = r.OwnName();
  s.SwlNumber = r.SwlNumber();
  s.OwnCall = r.OwnCall();
  s.TimeOffsetHours = r.TimeOffsetHours();
  s.ProfileNumber = r.ProfileNumber();
}

void PutSetupRecord(const SuiteSettings& s, uint8_t* setup_rec) {
  SetupRecord r(setup_rec);
  r.SetOwnLocator(s.OwnLocator);
  r.SetTimeOffsetHours(s.TimeOffsetHours);
  r.SetSwlNumber(s.SwlNumber);
  r.SetOwnCall(s.OwnCall);
  r.SetPanelColour(s.PanelColour);
  r.SetLabelTextColour(s.LabelTextColour);
  r.SetHighlightLabelColour(s.HighlightLabelColour);
  r.SetListHeaderColour(s.ListHeaderColour);
  r.SetListHeaderTextColour(s.ListHeaderTextColour);
  r.SetBackgroundColour(s.BackgroundColour);
  r.SetBarColour(s.BarColour);
}

void TakeSetup2Record(const uint8_t* setup2_rec, SuiteSettings& s) {
  for (int i = 1; i <= setup2_record::kTextCount; ++i) {
    std::string text = Setup2Text(setup2_rec, i);
    if (!text.empty()) s.Setup2Texts[static_cast<size_t>(i - 1)] = text;
  }
}

void PutSetup2Record(const SuiteSettings& s, uint8_t* setup2_rec) {
  for (int i = 1; i <= setup2_record::kTextCount; ++i) {
    SetSetup2Text(setup2_rec, i, s.Setup2Texts[static_cast<size_t>(i - 1)]);
  }
}

std::string NormaliseNameCase(std::string_view text, uint8_t name_case) {
  std::string out(text);
  if (out.empty()) return out;
  switch (name_case) {
    case 1:
      return UpperGerman(out);
    case 2:
      return LowerGerman(out);
    case 3:
      out = LowerGerman(out);
      out[0] = RaiseAscii(out[0]);
      return out;
    case 4:
      // Double names and abbreviations (Meier-Lüdenscheid, Jo.Meier) start a
      // new word after "-" and "."; a blank does not.
      out[0] = RaiseAscii(out[0]);
      for (size_t i = 1; i < out.size(); ++i) {
        if (out[i - 1] == '-' || out[i - 1] == '.') out[i] = RaiseAscii(out[i]);
      }
      return out;
    default:
      return out;
  }
}

std::string NormaliseNameCase(std::string_view text) {
  return NormaliseNameCase(text, TheSuiteSettings().NameCase);
}

}  // namespace kontura
