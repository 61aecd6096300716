#include "output/export_menu.h"

#include "output/adif_export.h"
#include "output/qso_list.h"
#include "output/summary_sheet.h"
#include "platform/platform.h"
#include "refdata/date_time_pictures.h"
#include "storage/catalogue.h"
#include "text/date_time_text.h"
#include "text/text_util.h"

namespace kontura {
namespace {

constexpr int kAlways = -1;
constexpr std::string_view kQuestionEnd = " gespeichert werden soll.";

struct MenuRow {
  bool separator;
  std::string_view caption;
  std::string_view greyed_caption;  // empty: the caption stays
  int element;                      // of ExportSet, or kAlways
  std::optional<OutputId> output;
};

const MenuRow kMenu[] = {
    {false, "STF-Datei (empfohlen)", "STF-Datei", 3, std::nullopt},
    {false, "EDI-Datei (empfohlen)", "EDI-Datei", 13, std::nullopt},
    {true, "", "", 0, std::nullopt},
    {false, "E-Log Gesamtdatei", "", kAlways, OutputId::kTotalFile},
    {false, "E-Log Deckblatt", "", 1, OutputId::kSummaryFile},
    {false, "E-Log QSO-Liste", "", 2, OutputId::kQsoListFile},
    {false, "E-Log Band-Liste", "", 10, OutputId::kBandListFile},
    {false, "E-Log Multi-Checkliste", "", 12, std::nullopt},
    {false, "Cabrillo-Datei", "", 9, std::nullopt},
    {true, "", "", 0, std::nullopt},
    {false, "ADIF- Exportdatei der QSO-Liste", "", 4, OutputId::kAdifFile},
    {false, "CSV- Exportdatei der QSO-Liste", "", kAlways, OutputId::kCsvFile},
    {true, "", "", 0, std::nullopt},
    {false, "Papierlog - Deckblatt", "", 5, OutputId::kPrintedSummary},
    {false, "Papierlog - QSO-Liste", "", 6, OutputId::kPrintedQsoList},
    {false, "Papierlog - Band-Liste", "", 7, OutputId::kPrintedBandList},
    {false, "Papierlog - Multi-Checkliste", "", 8, std::nullopt},
};

const FileOutputTexts kTotalTexts{"Geben Sie im folgenden Dialog an, wohin die E-Log - Gesamtdatei ",
                                  "E-Log Gesamtdatei (*.TXT)", ".TXT", "TXT"};
const FileOutputTexts kSummaryTexts{"Geben Sie im folgenden Dialog an, wohin die E-Log - Deckblattdatei ",
                                    "E-Log Deckblatt (*.SUM)", ".SUM", "SUM"};
const FileOutputTexts kQsoListTexts{"Geben Sie im folgenden Dialog an, wohin die E-Log - Listendatei ",
                                    "E-Log Liste (*.ALL)", ".ALL", "ALL"};
const FileOutputTexts kBandListTexts{"Geben Sie im folgenden Dialog an, wohin die E-Log - Bandlistendatei ",
                                     "E-Log Bandliste (*.BND)", ".BND", "BND"};
const FileOutputTexts kAdifTexts{"Geben Sie im folgenden Dialog an, wohin die ADIF - Listendatei ",
                                 "ADIF-Liste (*.ADI)", ".ADI", "ADI"};
const FileOutputTexts kCsvTexts{"Geben Sie im folgenden Dialog an, wohin die CSV - Listendatei ",
                                "CSV-Liste (*.CSV)", ".CSV", "CSV"};

// The file outputs the operator gets to see (and may edit) in the viewer.
bool ShownInViewer(OutputId id) {
  return id == OutputId::kSummaryFile || id == OutputId::kQsoListFile || id == OutputId::kBandListFile;
}

// Opens the contest's log for the time of one output.
class OpenLog {
 public:
  explicit OpenLog(int32_t contest_number) : m_open(OpenFHLK(contest_number)) {}
  ~OpenLog() {
    if (m_open) CloseFHLK();
  }
  OpenLog(const OpenLog&) = delete;
  OpenLog& operator=(const OpenLog&) = delete;
  bool is_open() const { return m_open; }

 private:
  bool m_open;
};

bool WritePrinted(OutputId id, const OutputSources& src, PrintPage& page) {
  LineWriter w(page);
  switch (id) {
    case OutputId::kPrintedSummary: return WriteSummarySheet(w, src, TodayText(DatePicture));
    case OutputId::kPrintedQsoList: return WriteQsoList(w, src);
    case OutputId::kPrintedBandList: return WriteBandList(w, src);
    default: return false;
  }
}

OutputResult RunPrintedOutput(OutputId id, const OutputSources& src, PrintJobs& printer) {
  PrintPage* page = printer.BeginPrint(src.definition.ContestName);
  if (page == nullptr) return OutputResult::kCancelled;
  OpenLog log(src.contest_number);
  if (!log.is_open()) {
    printer.EndPrint();
    return OutputResult::kLogNotOpened;
  }
  WritePrinted(id, src, *page);
  page->SetBold(false);
  printer.EndPrint();
  return OutputResult::kDone;
}

OutputResult RunFileOutput(OutputId id, const OutputSources& src, OutputServices& services) {
  const FileOutputTexts& texts = *TextsOf(id);
  const std::string base = OutputFileBase(src.own_call);
  TheDialogs().ShowMessage(Concat({texts.question_start, base, texts.extension, kQuestionEnd}));
  const std::string filter = Concat({texts.filter_label, "|", base, texts.extension});
  const std::string proposed = Concat({base, OutputFileSuffix(src), texts.extension});
  // A cancelled dialog cancels the output: writing under the proposed name
  // would overwrite an earlier export the operator may have edited.
  const std::optional<std::string> chosen = services.files.SaveFileName(filter, proposed, texts.default_extension);
  if (!chosen) return OutputResult::kCancelled;
  const std::string& path = *chosen;

  FileSink file;
  if (!file.Create(path)) {
    TheDialogs().ShowMessage(FileNotCreatedText(path));
    return OutputResult::kFileNotCreated;
  }
  OpenLog log(src.contest_number);
  if (!log.is_open()) {
    file.Close();
    if (ShownInViewer(id)) services.viewer.ShowTextFile(path);
    return OutputResult::kLogNotOpened;
  }
  WriteFileOutput(id, src, file, TodayText(DatePicture));
  // Closed before the message, so that a disk that filled up at the last
  // flush is reported rather than a file that is not complete.
  if (!file.Close()) {
    TheDialogs().ShowMessage(FileNotCreatedText(path));
    return OutputResult::kWriteFailed;
  }
  if (id != OutputId::kSummaryFile) TheDialogs().ShowMessage(FileCreatedText(path));
  if (ShownInViewer(id)) services.viewer.ShowTextFile(path);
  return OutputResult::kDone;
}

}  // namespace

std::vector<ExportMenuItem> ExportMenuItems(const TContestDefinition& def) {
  std::vector<ExportMenuItem> items;
  for (const MenuRow& row : kMenu) {
    ExportMenuItem item;
    item.separator = row.separator;
    if (!row.separator) {
      const bool allowed = row.element == kAlways || def.ExportSet.test(static_cast<size_t>(row.element));
      // Outputs this program does not have stay greyed whatever the set says.
      item.enabled = allowed && row.output.has_value();
      item.output = row.output;
      item.caption = std::string(!item.enabled && !row.greyed_caption.empty() ? row.greyed_caption : row.caption);
    }
    items.push_back(std::move(item));
  }
  return items;
}

const FileOutputTexts* TextsOf(OutputId id) {
  switch (id) {
    case OutputId::kTotalFile: return &kTotalTexts;
    case OutputId::kSummaryFile: return &kSummaryTexts;
    case OutputId::kQsoListFile: return &kQsoListTexts;
    case OutputId::kBandListFile: return &kBandListTexts;
    case OutputId::kAdifFile: return &kAdifTexts;
    case OutputId::kCsvFile: return &kCsvTexts;
    default: return nullptr;
  }
}

std::string FileNotCreatedText(const std::string& path) {
  return Concat({"Die Datei ", path, " konnte nicht erstellt werden."});
}

std::string FileCreatedText(const std::string& path) { return Concat({"Datei ", path, " wurde erstellt."}); }

bool WriteFileOutput(OutputId id, const OutputSources& src, TextSink& sink, const std::string& today) {
  switch (id) {
    case OutputId::kTotalFile: {
      LineWriter w(OutputKind::kELog, sink);
      WriteSummarySheet(w, src, today);
      return WriteQsoList(w, src);
    }
    case OutputId::kSummaryFile: {
      LineWriter w(OutputKind::kELog, sink);
      return WriteSummarySheet(w, src, today);
    }
    case OutputId::kQsoListFile: {
      LineWriter w(OutputKind::kELog, sink);
      return WriteQsoList(w, src);
    }
    case OutputId::kBandListFile: {
      LineWriter w(OutputKind::kELog, sink);
      return WriteBandList(w, src);
    }
    case OutputId::kAdifFile: {
      LineWriter w(OutputKind::kAdif, sink);
      // The DXCC numbers come from the prefix database where it is there.
      const bool prefixes = OpenFHPREFIX();
      const bool ok = WriteAdifExport(w, src);
      if (prefixes) CloseFHPREFIX();
      return ok;
    }
    case OutputId::kCsvFile: {
      LineWriter w(OutputKind::kCsv, sink);
      return WriteQsoList(w, src);
    }
    default: return false;
  }
}

OutputResult RunOutput(OutputId id, int32_t contest_number, OutputServices& services) {
  OutputSources src;
  if (!ReadOutputSources(contest_number, &src)) return OutputResult::kNoContest;
  if (TextsOf(id) == nullptr) return RunPrintedOutput(id, src, services.printer);
  return RunFileOutput(id, src, services);
}

}  // namespace kontura
