#include "output/adif_export.h"

#include "logging/log_access.h"
#include "logging/qso_keys.h"
#include "output/output_texts.h"
#include "platform/platform.h"
#include "refdata/bands_modes.h"
#include "refdata/prefix_lookup.h"
#include "storage/fileblock.h"
#include "text/date_time_text.h"
#include "text/picture_format.h"
#include "text/text_util.h"

namespace kontura {
namespace {

constexpr int kAreaOption = 8;
constexpr int kLdkOption = 17;

std::string WithoutBlanks(std::string s) {
  std::erase(s, ' ');
  return s;
}

// "Y" for the German "J", otherwise the flag itself; nothing for 0 or a blank.
std::string QslValue(char flag) {
  if (flag == 0 || flag == ' ') return {};
  if (flag == 'J' || flag == 'j') return "Y";
  return std::string(1, flag);
}

std::string DistrictTag(const TContestDefinition& def) {
  if (def.ContestOptions.test(kAreaOption)) return "AREA";
  if (def.ContestOptions.test(kLdkOption)) return "LDK";
  return "DOK";
}

}  // namespace

std::string AdifTag(std::string_view name, std::string_view value, int length) {
  const int n = length >= 0 ? length : static_cast<int>(value.size());
  return Concat({"<", name, ":", std::to_string(n), ">", value});
}

std::string AdifQsoLine(const QsoRecord& q, bool rst_only, const std::string& district_tag) {
  std::string line;
  auto add = [&line](const std::string& tag) {
    line += tag;
    line += ' ';
  };
  if (q.QsoDate() > 0) add(AdifTag("QSO_DATE", DateToText("yyyymmdd", q.QsoDate()), 8));
  add(AdifTag("TIME_ON", TimeToText("hhmm", q.QsoTime()), 4));
  add(AdifTag("CALL", q.Call()));

  const std::string sent = q.SentExchange();
  const std::string rcvd = q.RecvExchange();
  if (!rst_only) {
    add(AdifTag("RST_SENT", sent));
    add(AdifTag("RST_RCVD", rcvd));
  } else {
    add(AdifTag("RST_SENT", sent.substr(0, 3), 3));
    add(AdifTag("RST_RCVD", rcvd.substr(0, 3), 3));
    if (sent.size() > 3) add(AdifTag("STX", sent.substr(3)));
    if (rcvd.size() > 3) add(AdifTag("SRX", rcvd.substr(3)));
  }

  add(AdifTag("BAND", WithoutBlanks(BandName(q.Band(), false))));
  // Packet radio is PKT in ADIF.
  add(TrimBlanks(q.Mode()) == "PR" ? AdifTag("MODE", "PKT", 3) : AdifTag("MODE", q.Mode()));
  add(AdifTag("PTS", std::to_string(q.Points())));
  add(AdifTag(district_tag, TrimBlanks(q.DistrictCode())));
  add(AdifTag("GRIDSQUARE", TrimBlanks(q.Locator())));

  const std::string dxcc = TrimBlanks(q.Dxcc());
  if (!dxcc.empty()) {
    const std::string number = DxccNumberOfPrefix(dxcc);
    if (!number.empty()) {
      add(AdifTag("DXCC", number));
      add(AdifTag("DXCC_PFX", dxcc));
    }
  }
  if (q.Frequency() > 0) add(AdifTag("FREQ", TrimBlanks(FormatPicture("#####.####", q.Frequency()))));

  const std::string name_qth = q.NameQth();
  const size_t semicolon = name_qth.find(';');
  const std::string name = semicolon == std::string::npos ? std::string() : name_qth.substr(0, semicolon);
  const std::string qth = semicolon == std::string::npos ? name_qth : name_qth.substr(semicolon + 1);
  if (!name.empty()) add(AdifTag("NAME", name));
  if (!qth.empty()) add(AdifTag("QTH", qth));

  const std::string qsl_sent = QslValue(q.QslSent());
  if (!qsl_sent.empty()) add(AdifTag("QSL_SENT", qsl_sent, 1));
  const std::string qsl_rcvd = QslValue(q.QslReceived());
  if (!qsl_rcvd.empty()) add(AdifTag("QSL_RCVD", qsl_rcvd, 1));
  line += "<EOR>";
  return line;
}

bool WriteAdifExport(LineWriter& w, const OutputSources& src) {
  const TContestDefinition& def = src.definition;
  w.WriteLine(Concat({kAdifHeaderStart, def.ProgramTitle, " ", kMakerWebAddress}));
  w.WriteLine(kAdifEndOfHeader);
  // Closing the question without an answer counts as No.
  const bool rst_only = TheDialogs().AskYesNo(kRstOnlyQuestion);
  const std::string district_tag = DistrictTag(def);
  SavedLogBuffer saved;
  Fileblock* log = TheLog();
  for (log->First(qso::kKeyRecordNo); StorageErrorClass() == 0; log->Next(qso::kKeyRecordNo)) {
    const QsoRecord q = LogRecord();
    if (q.IsBandChangeMarker()) continue;
    w.WriteLine(AdifQsoLine(q, rst_only, district_tag));
  }
  return w.ok();
}

}  // namespace kontura
