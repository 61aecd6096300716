#pragma once
// The export menu of the configuration dialog ("Drucken / E-Log") as data,
// and RunOutput, which every entry calls: the question and the save-file
// dialog of a file output, the file, the log, the writer, the messages and
// the viewer; or the print dialog and the printer of a printed output.
//
// The logic reaches the operator only through the services it is handed
// (file dialog, viewer, printer) and TheDialogs() for messages and the ADIF
// question, so that tests and the command-line tool run it without windows.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "contest/contest_definition.h"
#include "output/line_writer.h"
#include "output/output_sources.h"
#include "platform/file_dialogs.h"

namespace kontura {

enum class OutputId {
  kTotalFile,        // TXT: summary sheet, then the QSO list
  kSummaryFile,      // SUM
  kQsoListFile,      // ALL
  kBandListFile,     // BND
  kAdifFile,         // ADI
  kCsvFile,          // CSV
  kPrintedSummary,
  kPrintedQsoList,
  kPrintedBandList,
};

// One line of the menu: a separator, an entry that starts an output, or an
// entry of an output this program does not have (always greyed).
struct ExportMenuItem {
  bool separator = false;
  std::string caption;
  bool enabled = false;
  std::optional<OutputId> output;
};

// The entries in menu order, enabled by the definition's ExportSet; the STF
// and EDI entries lose their "(empfohlen)" when they are greyed.
std::vector<ExportMenuItem> ExportMenuItems(const TContestDefinition& def);

// The fixed texts of a file output.
struct FileOutputTexts {
  std::string_view question_start;  // + base + extension + kQuestionEnd
  std::string_view filter_label;
  std::string_view extension;       // ".SUM"
  std::string_view default_extension;  // "SUM"
};
const FileOutputTexts* TextsOf(OutputId id);  // nullptr for printed outputs

// The viewer of the SUM, ALL and BND files, where the operator may edit,
// save and print them.
class TextFileViewer {
 public:
  virtual ~TextFileViewer() = default;
  virtual void ShowTextFile(const std::string& path) = 0;
};

// The printer of the printed outputs.
class PrintJobs {
 public:
  virtual ~PrintJobs() = default;
  // Shows the print dialog and begins a job with the printer font; nullptr
  // when the operator cancels. The page stays valid until EndPrint.
  virtual PrintPage* BeginPrint(std::string_view job_name) = 0;
  virtual void EndPrint() = 0;
};

struct OutputServices {
  FileDialogs& files;
  TextFileViewer& viewer;
  PrintJobs& printer;
};

enum class OutputResult {
  kDone,             // written (and reported)
  kCancelled,        // save or print dialog cancelled: nothing written
  kNoContest,        // the contest has no header
  kFileNotCreated,   // "Die Datei ... konnte nicht erstellt werden."
  kWriteFailed,      // a write failed (full disk); reported with the same text
  kLogNotOpened,     // the log could not be opened; no message
};

OutputResult RunOutput(OutputId id, int32_t contest_number, OutputServices& services);

// The bytes of a file output for sources already read, written to `sink`
// while the contest's log is open. True when every line went out.
bool WriteFileOutput(OutputId id, const OutputSources& src, TextSink& sink, const std::string& today);

// The messages.
std::string FileNotCreatedText(const std::string& path);
std::string FileCreatedText(const std::string& path);

}  // namespace kontura
