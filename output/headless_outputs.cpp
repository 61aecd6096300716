#include "output/headless_outputs.h"

#include "logging/log_opening.h"
#include "output/output_sources.h"
#include "platform/platform.h"

namespace kontura {
namespace {

class GivenPath : public FileDialogs {
 public:
  explicit GivenPath(std::string path) : m_path(std::move(path)) {}
  std::optional<std::string> SaveFileName(std::string_view, std::string_view, std::string_view) override {
    return m_path;
  }
  std::optional<std::string> OpenFileName(std::string_view, std::string_view) override { return m_path; }

 private:
  std::string m_path;
};

class NoViewer : public TextFileViewer {
 public:
  void ShowTextFile(const std::string&) override {}
};

class NoPrinter : public PrintJobs {
 public:
  PrintPage* BeginPrint(std::string_view) override { return nullptr; }
  void EndPrint() override {}
};

// Keeps the messages and answers the one question of the outputs.
class AnsweringDialogs : public Dialogs {
 public:
  AnsweringDialogs(bool answer, std::vector<std::string>* messages) : m_answer(answer), m_messages(messages) {}
  void ShowMessage(std::string_view text) override {
    if (m_messages) m_messages->emplace_back(text);
  }
  bool AskYesNo(std::string_view) override { return m_answer; }
  void Beep() override {}

 private:
  bool m_answer;
  std::vector<std::string>* m_messages;
};

class InstalledDialogs {
 public:
  explicit InstalledDialogs(Dialogs* d) : m_old(InstallDialogs(d)) {}
  ~InstalledDialogs() { InstallDialogs(m_old); }
  InstalledDialogs(const InstalledDialogs&) = delete;
  InstalledDialogs& operator=(const InstalledDialogs&) = delete;

 private:
  Dialogs* m_old;
};

}  // namespace

OutputResult ExportContest(int32_t contest_number, OutputId id, const std::string& path, bool rst_only,
                           std::vector<std::string>* messages) {
  GivenPath files(path);
  NoViewer viewer;
  NoPrinter printer;
  OutputServices services{files, viewer, printer};
  std::vector<std::string> shown;
  AnsweringDialogs dialogs(rst_only, &shown);
  OutputResult result;
  {
    InstalledDialogs installed(&dialogs);
    result = RunOutput(id, contest_number, services);
  }
  // The first message is the question before the save dialog; the tool
  // passes only what came after it.
  if (messages && shown.size() > 1) messages->insert(messages->end(), shown.begin() + 1, shown.end());
  return result;
}

ImportOutcome ImportAdifFiles(int32_t contest_number, const ImportRequest& request, EntityLookup& lookup,
                              std::vector<ImportFileReport>* reports, std::string* unknown_field) {
  OutputSources src;
  if (!ReadOutputSources(contest_number, &src)) return ImportOutcome::kNoContest;
  // The mapping is checked before the log is touched.
  {
    AdifFieldList probe(src.definition);
    for (const auto& [field, tag] : request.maps) {
      if (!probe.MapField(field, "")) {
        if (unknown_field) *unknown_field = field;
        return ImportOutcome::kUnknownField;
      }
    }
  }
  const LogOptions options = ReadLogOptions(contest_number);
  std::unique_ptr<ContestLog> log = OpenLogSession(contest_number, src.definition, options, lookup);
  if (!log) return ImportOutcome::kLogNotOpened;
  for (const std::string& file : request.files) {
    ImportFileReport report;
    report.file = file;
    std::vector<std::string> records;
    report.found = ReadAdifFile(file, &records);
    if (report.found) {
      AdifFieldList fields(src.definition);
      MapByDefault(fields, CollectAdifTags(records));
      for (const auto& [field, tag] : request.maps) {
        fields.MapField(field, "");
        if (!tag.empty()) fields.MapField(field, tag);
      }
      report.counts = ImportAdifRecords(*log, records, fields, request.no_check);
    }
    reports->push_back(report);
  }
  CloseLogSession(*log);
  return ImportOutcome::kDone;
}

}  // namespace kontura
