#pragma once
// The note window "Contest-Notiz": the note of a contest entry in a text
// area with the cursor behind the new dated line, "Drucken" and
// "ESC: Speichern und Beenden". Its position and size live in the contest
// header (NoteLeft, NoteTop, NoteWidth, NoteHeight); the window reopens
// where it was closed, or centred on the desktop the first time.
//
// Controls by object name: mNotiz, btnDrucken, btnSpeichern.

#include <QDialog>
#include <cstddef>
#include <cstdint>
#include <string>

class QPlainTextEdit;

namespace kontura {

class TContNotiz : public QDialog {
  Q_OBJECT

 public:
  // Shows `text` (the note as prepared) with the cursor at `cursor`.
  TContNotiz(const std::string& path, const std::string& text, size_t cursor, QWidget* parent = nullptr);
  bool Saved() const { return m_saved; }

 protected:
  void reject() override;

 private:
  bool Save();
  void SaveAndClose();
  void Print();

  std::string m_path;
  QPlainTextEdit* m_text = nullptr;
  bool m_saved = false;
};

// Opens the note of contest `contest_number` (the header gives the entry
// name and the window's place) with a new line for `call`, the call of the
// QSO in the mask. Returns whether the note was saved. The window's place
// is stored in the header when it closes.
bool OpenContestNote(QWidget* parent, int32_t contest_number, const std::string& call);

}  // namespace kontura
