#pragma once
// The text viewer of the exports: the file in an editable text area, with
// the file name as caption, "Speichern und Beenden" and "Drucken". Closing
// the window otherwise discards the edits.
//
// Controls by object name: mText, btnSpeichern, btnDrucken.

#include <string>

class QWidget;

namespace kontura {

// Shows the file; true when the operator saved it.
bool ShowTextFile(const std::string& path, QWidget* parent = nullptr);

}  // namespace kontura
