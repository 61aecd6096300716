#pragma once
// Message boxes, yes/no questions and the beep, as the logic asks for them.
// Texts are Windows-1252 byte strings like everything in the records; the
// implementation converts at the toolkit boundary.

#include <string_view>

namespace kontura {

class Dialogs {
 public:
  virtual ~Dialogs() = default;

  // An information box with one OK button. Returns when the operator closed it.
  virtual void ShowMessage(std::string_view text) = 0;

  // A question with the buttons Yes and No. Returns true for Yes.
  virtual bool AskYesNo(std::string_view text) = 0;

  // The system beep that precedes a message rejecting an entry.
  virtual void Beep() = 0;
};

// Writes messages to standard error and answers every question with No.
// Serves the command-line tool and anything running before a window exists.
class ConsoleDialogs : public Dialogs {
 public:
  void ShowMessage(std::string_view text) override;
  bool AskYesNo(std::string_view text) override;
  void Beep() override;
};

}  // namespace kontura
