#include "app/contest_list.h"

#include "contest/contest_header.h"
#include "refdata/date_time_pictures.h"
#include "text/calendar.h"
#include "text/date_time_text.h"
#include "text/text_util.h"

namespace kontura {
namespace {

constexpr size_t kNameColumn = 26;
constexpr size_t kLineCapacity = 255;

size_t DateColumnWidth() { return DatePicture.size() + 3; }

std::string NameCell(const ConstContestHeader& h) { return (h.EntryName() + " ").substr(0, kNameColumn); }

std::string DateCell(int32_t date) {
  if (date <= 0) return std::string(DateColumnWidth(), ' ');
  return (DateToText(DatePicture, date) + "   ").substr(0, 20);
}

}  // namespace

int ContestSortListToKey(int i, char edition_code, std::string& low, std::string& high) {
  if (i < 0 || i >= static_cast<int>(std::size(kContestSortCaptions))) return 0;
  low = std::string(1, edition_code);
  high = low;
  return i + 1;
}

std::string ContestRowText(const uint8_t* header, int key_nr) {
  ConstContestHeader h(header);
  std::string from = DateCell(h.DateFrom());
  std::string to = DateCell(h.DateTo());
  if (key_nr == kContestListKeyDate) {
    return Concat({Concat({" ", from}).substr(0, 21), ";", NameCell(h), ";", to});
  }
  return Concat({" ", NameCell(h), ";", from, ";", to});
}

std::string ContestHeadingText(int key_nr) {
  std::string name = PadRightWith(" Name", ' ', kNameColumn);
  std::string from = PadRightWith("Datum (von)", ' ', DateColumnWidth());
  std::string to = PadRightWith("Datum (bis)", ' ', DateColumnWidth());
  std::string line = key_nr == kContestListKeyDate ? Concat({" ", from, ";", name, ";", to})
                                                   : Concat({" ", name, ";", from, ";", to});
  return PadRightWith(line, ' ', kLineCapacity);
}

}  // namespace kontura
