#pragma once
// TFormadifimport ("ADIF-Import"): the operator chooses an ADIF file and
// drags the tags found in it ("Felder der ADIF-Datei", ListeLinks) onto the
// log's fields ("Felder im Log", ListeRechtsLB). The file, its contacts and
// the mapping are the logic's (output/adif_import.h); the dialog shows them.
//
// Controls by object name: btndatei, lDateiname, ListeLinks, ListeRechtsLB,
// checkkeincheck, btnimportstart, btnAbbruch.

#include <QDialog>
#include <QListWidget>
#include <string>
#include <vector>

#include "contest/contest_definition.h"
#include "output/adif_import.h"
#include "platform/file_dialogs.h"

class QCheckBox;
class QLabel;
class QMimeData;
class QPushButton;

namespace kontura {

class ContestLog;

// The right list: takes drops of entries of the left list onto entries
// that have no mapping yet.
class AdifFieldDropList : public QListWidget {
  Q_OBJECT

 public:
  explicit AdifFieldDropList(QListWidget* source, QWidget* parent = nullptr);

 signals:
  void tagDropped(int row, const QString& tag);

 protected:
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dragMoveEvent(QDragMoveEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  QString DraggedTag(const QMimeData* mime) const;

  QListWidget* m_source;
};

class TFormadifimport : public QDialog {
  Q_OBJECT

 public:
  TFormadifimport(const TContestDefinition& def, FileDialogs& files, QWidget* parent = nullptr);

  const std::vector<std::string>& Records() const { return m_records; }
  const AdifFieldList& Fields() const { return m_fields; }
  bool NoCheck() const;

  // The file choice behind "ADIF-Datei auswählen".
  void btndateiClick();
  // The steps after the open-file dialog: the name shown, the file read and
  // its tags listed; "Datei existiert nicht" when it is not there.
  void LoadFile(const std::string& path);

 private:
  void TagDropped(int row, const QString& tag);

  FileDialogs& m_files;
  AdifFieldList m_fields;
  std::vector<std::string> m_records;
  QLabel* m_file_label = nullptr;
  QListWidget* m_left = nullptr;
  AdifFieldDropList* m_right = nullptr;
  QCheckBox* m_no_check = nullptr;
  QPushButton* m_start = nullptr;
};

// The import behind the logging window's "Import von ADIF-Dateien": the
// dialog, then the import run into the open log and the summary box.
void RunAdifImport(ContestLog& log, QWidget* parent);

}  // namespace kontura
