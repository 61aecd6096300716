#include "catalogue/fileblock_dump.h"

#include "catalogue/record_summary.h"
#include "storage/fileblock.h"
#include "storage/record_file_reader.h"

namespace kontura {

DumpReport DumpFileblock(const std::string& path, const FileblockLayout& entry,
                         const std::function<void(const std::string&)>& line) {
  DumpReport report;
  RecordFileReader reader(path, entry.variable_length, entry.BufferSize());
  if (!reader.open_problem().empty()) {
    report.problems.push_back(reader.open_problem());
    return report;
  }
  if (reader.record_length() != entry.record_length) {
    // Another layout: summaries of these bytes would show nonsense.
    report.problems.push_back("record length " + std::to_string(reader.record_length()) + ", expected " +
                              std::to_string(entry.record_length));
    return report;
  }
  if (reader.modified()) {
    report.problems.push_back("modification flag set: a change was interrupted, the listing may be incomplete");
  }
  if (reader.header_slot_count() != reader.slot_count()) {
    report.problems.push_back("header names " + std::to_string(reader.header_slot_count()) +
                              " slots, the file holds " + std::to_string(reader.slot_count()));
  }
  std::vector<uint8_t> rec;
  for (int32_t n = 1; n <= reader.slot_count(); ++n) {
    if (!reader.IsLive(n)) continue;
    std::string why;
    if (!reader.ReadRecord(n, &rec, &why)) {
      report.problems.push_back(why);
      continue;
    }
    line(std::to_string(n) + ": " + RecordSummary(entry, rec.data()));
    ++report.records;
  }
  return report;
}

}  // namespace kontura
