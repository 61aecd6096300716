#include "output/summary_sheet.h"

#include "logging/log_access.h"
#include "output/output_texts.h"
#include "refdata/bands_modes.h"
#include "text/picture_format.h"
#include "text/text_util.h"

namespace kontura {
namespace {

constexpr char kL10[] = "          ";
// Lines at least this long take the date, the call or the signature onto a
// line of their own.
constexpr size_t kPlaceBreak = 62;
constexpr size_t kDateLineMax = 47;
constexpr size_t kCallBreak = 71;
constexpr size_t kSignatureColumn = 43;
constexpr char kSignature[] = "Unterschrift _______________";

std::string N7(int64_t v) { return FormatPictureInt("#######", v); }

std::string Rule() { return std::string(kL10) + std::string(47, '_'); }

// Place, date and call in one line, broken where it gets long; then the
// signature (a blank line in the file, where nobody signs).
void WritePlaceDateCall(LineWriter& w, const OutputSources& src, const std::string& today) {
  std::string line = Concat({"Ort: ", TrimBlanks(src.own_city)});
  if (line.size() >= kPlaceBreak) {
    w.WriteLine(line);
    w.BlankLine();
    line = Concat({"Datum: ", today}).substr(0, kDateLineMax);
  } else {
    line += Concat({"     Datum: ", today});
  }
  const std::string call = TrimBlanks(src.own_call);
  if (call.size() + line.size() >= kCallBreak) {
    w.WriteLine(line);
    w.BlankLine();
    line = Concat({" Call: ", call});
  } else {
    line += Concat({"   Call: ", call});
  }
  if (line.size() >= kSignatureColumn) {
    w.WriteLine(line);
    w.BlankLine();
    if (w.printed()) {
      w.WriteLine(kSignature);
    } else {
      w.BlankLine();
    }
  } else {
    w.WriteLine(Concat({PadTo(line, kSignatureColumn), w.printed() ? kSignature : ""}));
  }
}

}  // namespace

bool WriteSummarySheet(LineWriter& w, const OutputSources& src, const std::string& today) {
  const TContestDefinition& def = src.definition;
  for (int i = 0; i < 3; ++i) w.BlankLine();
  w.SetBold(true);
  w.WriteLine(Concat({PadTo("Name:", 12), src.own_name}));
  w.WriteLine(Concat({PadTo("Anschrift:", 12), TrimBlanks(src.own_street)}));
  w.WriteLine(Concat({PadTo("Ort:", 12), TrimBlanks(src.own_city)}));
  w.BlankLine();
  w.SetBold(false);
  w.BlankLine();
  w.BlankLine();
  w.SetBold(true);
  w.WriteLine(CenterBlanks(def.ContestName, 60));
  w.SetBold(false);
  w.BlankLine();

  w.SetBold(true);
  const std::string number = src.participant_no > 0 ? FormatPictureInt("@@@@", src.participant_no) : std::string();
  w.WriteLine(Concat({PadTo("Call:", 6), PadTo(src.own_call, 13), PadTo("DOK:", 5), PadTo(src.header_dok, 13),
                      PadTo("Loc:", 5), PadTo(src.own_locator, 9), "Teiln.-Nr: ", number}));
  w.WriteLine("");
  const int k = src.category_no;
  if (k > 0 && k <= static_cast<int>(def.Categories.size())) {
    w.WriteLine(Concat({PadTo("Teilnahmeart:", 14), def.Categories[static_cast<size_t>(k - 1)].LongName}));
  } else {
    w.WriteLine("");
  }
  w.SetBold(false);
  w.BlankLine();

  w.WriteLine(Concat({kL10, PadLeftBlanks("Band", 8), "    ", "QSO  ", " Punkte  "}));
  for (size_t i = 0; i < def.BandCodes.size(); ++i) {
    const char band = def.BandCodes[i];
    if (band == 0) continue;
    // The header keeps totals for band positions 1 to 7 only.
    const size_t pos = i + 1;
    const int32_t qsos = pos < src.band_qsos.size() ? src.band_qsos[pos] : 0;
    const int32_t points = pos < src.band_points.size() ? src.band_points[pos] : 0;
    w.WriteLine(Concat({kL10, PadLeftBlanks(BandName(band, false), 8), N7(qsos), "  ", N7(points), "  "}));
  }
  w.WriteLine(Rule());
  w.WriteLine(Concat({kL10, PadTo("Summe", 8), N7(src.TotalQsos()), "  ", N7(src.TotalPoints()), "  "}));
  w.WriteLine(Rule());
  w.BlankLine();
  w.WriteLine(Concat({kL10, "Endergebnis:", "  ", TrimBlanks(N7(src.TotalPoints())), " Punkte"}));
  w.WriteLine(Rule());
  w.BlankLine();

  w.WriteLine(Concat({"Ich erkl\xE4re, dass ich die Regeln f\xFCr \"", def.ContestName, "\""}));
  w.WriteLine("beachtet und die Lizenzbestimmungen meines Landes eingehalten habe.");
  w.WriteLine("Die Angaben des Logs entsprechen der Wahrheit.");
  w.BlankLine();

  WritePlaceDateCall(w, src, today);
  if (w.printed()) w.BlankLine();
  w.WriteLine(Concat({"Dieses ContestLog wurde mit ", def.ProgramTitle, " erstellt. (", kMakerWebAddress, ")"}));
  for (int i = 0; i < 3; ++i) w.BlankLine();
  return w.ok();
}

}  // namespace kontura
