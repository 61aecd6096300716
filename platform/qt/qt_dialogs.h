#pragma once
// Message boxes, questions and the beep through Qt. The caption of every box is
// the application title.

#include "platform/dialogs.h"

class QWidget;

namespace kontura {

class QtDialogs : public Dialogs {
 public:
  void ShowMessage(std::string_view text) override;
  bool AskYesNo(std::string_view text) override;
  void Beep() override;
};

}  // namespace kontura
