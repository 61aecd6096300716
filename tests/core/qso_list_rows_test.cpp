// The QSO list's header line and row texts, byte for byte.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "logging/qso_list_rows.h"
#include "logging/qso_record.h"
#include "text/calendar.h"

namespace kontura {
namespace {

QsoRecord Qso() {
  QsoRecord q;
  q.SetQsoNo(12);
  q.SetQsoDate(DayNumber(7, 3, 2026));
  q.SetQsoTime(SecondsOf(9, 5, 30));
  q.SetCall("DL1ABC");
  q.SetBand('b');
  q.SetMode("CW");
  q.SetSentExchange("599012/JO62QM");
  q.SetRecvExchange("579034/JO31AB");
  q.SetPoints(345);
  q.SetQslSent('N');
  return q;
}

TEST(QsoListRows, HeaderNamesTheColumnsAndIsPaddedTo255) {
  const std::string header = QsoListHeader();
  const std::string columns =
      "Nr ; Datum ; UTC ; Call    ;Band ;Mod; RSTsent      ; RSTrcvd      ;Pkt;sQr;Name      ;QTH       ;Freq.";
  ASSERT_EQ(header.size(), 255u);
  EXPECT_EQ(header.substr(0, columns.size()), columns);
  EXPECT_EQ(header.find_first_not_of(' ', columns.size()), std::string::npos);
}

TEST(QsoListRows, RowsOfTheKindsOfRecord) {
  struct Case {
    const char* name;
    QsoRecord qso;
    std::string row;
  };
  QsoRecord plain = Qso();
  QsoRecord full = Qso();
  full.SetQslReceived('Y');
  full.SetNameQth("Hans;Berlin");
  full.SetFrequency(3.575f);
  full.SetPoints(0);
  QsoRecord unset = Qso();
  unset.SetQsoDate(-1);
  unset.SetQsoTime(-1);
  unset.SetQslSent(0);
  unset.SetRecvExchange("59");
  QsoRecord marked = Qso();
  marked.SetMarked(1);
  QsoRecord marker;
  marker.SetQsyBand('k');
  marker.SetQsoNo(4);
  marker.SetQsoDate(DayNumber(7, 3, 2026));
  marker.SetQsoTime(SecondsOf(10, 0, 0));
  const Case cases[] = {
      {"plain", plain,
       "    12; 07.03.26; 09:05; DL1ABC; 80 m; CW; 599 012/JO62QM; 579 034/JO31AB; 345; N  ; ; ;     0,000"},
      {"QSL received, name and QTH, frequency", full,
       "    12; 07.03.26; 09:05; DL1ABC; 80 m; CW; 599 012/JO62QM; 579 034/JO31AB; 0; N Y; Hans; Berlin;     3,575"},
      {"date and time not set, no QSL flag, report only", unset,
       "    12;         ;      ; DL1ABC; 80 m; CW; 599 012/JO62QM; 59  ; 345;    ; ; ;     0,000"},
      {"marked", marked,
       "\x01    12; 07.03.26; 09:05; DL1ABC; 80 m; CW; 599 012/JO62QM; 579 034/JO31AB; 345; N  ; ; ;     0,000"},
      {"band-change marker", marker, "; 07.03.26; 10:00; *** QSY 2 m ***; ; ; ; ; ; ; ; ; "},
  };
  for (const Case& c : cases) EXPECT_EQ(QsoListRow(c.qso), c.row) << c.name;
}

TEST(QsoListRows, EveryRowHasTheThirteenColumnsOfTheHeader) {
  QsoRecord marker;
  marker.SetQsyBand('l');
  for (const QsoRecord& q : {Qso(), marker}) {
    const std::string row = QsoListRow(q);
    EXPECT_EQ(std::count(row.begin(), row.end(), ';'), kQsoListColumns - 1) << row;
  }
  const std::string header = QsoListHeader();
  EXPECT_EQ(std::count(header.begin(), header.end(), ';'), kQsoListColumns - 1);
}

}  // namespace
}  // namespace kontura
