#include "contest/contest_note.h"

#include <cstdio>
#include <fstream>
#include <iterator>

#include "refdata/date_time_pictures.h"
#include "text/date_time_text.h"
#include "text/text_util.h"

namespace kontura {
namespace {

constexpr int kNoteCallWidth = 10;

bool AllowedInNoteName(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == ' ' || c == '+' ||
         c == '-' || c == '_';
}

}  // namespace

std::string ContestNoteFileName(std::string_view entry_name) {
  std::string name;
  for (const char c : entry_name) {
    if (AllowedInNoteName(c)) name += c;
  }
  return name + ".TXT";
}

std::string NotePrefixLine(int32_t date, int32_t seconds, std::string_view call) {
  return Concat({DateToText(DatePicture, date), " ", TimeToText(TimePicture, seconds), " ",
                 PadRightWith(call, ' ', kNoteCallWidth), " > "});
}

size_t NoteCursorOffset() { return DatePicture.size() + TimePicture.size() + 15; }

bool PrepareContestNote(const std::string& path, std::string_view prefix, std::string* text) {
  std::string old;
  if (std::ifstream in(path, std::ios::binary); in) {
    old.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  // Lines end with CR LF in the file and with "\n" in the text area; the
  // line end of the last line is the file's, not an empty line of the text.
  std::string lines;
  lines.reserve(old.size());
  for (const char c : old) {
    if (c != '\r') lines += c;
  }
  if (!lines.empty() && lines.back() == '\n') lines.pop_back();
  *text = std::string(prefix);
  if (!old.empty()) *text += '\n' + lines;
  return SaveContestNote(path, *text);
}

bool SaveContestNote(const std::string& path, std::string_view text) {
  // Written beside the note and renamed over it, so that a failed write
  // leaves the old note whole.
  const std::string temp = path + ".NEU";
  {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    if (!out) return false;
    for (const char c : text) {
      if (c == '\n') out.put('\r');
      out.put(c);
    }
    if (!text.empty() && text.back() != '\n') out << "\r\n";
    out.flush();
    if (!out) {
      out.close();
      std::remove(temp.c_str());
      return false;
    }
  }
  if (std::rename(temp.c_str(), path.c_str()) != 0) {
    std::remove(temp.c_str());
    return false;
  }
  return true;
}

}  // namespace kontura
