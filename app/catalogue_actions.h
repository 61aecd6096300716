#pragma once
// The actions of the contest catalogue behind the main window's buttons:
// create, open (edit and start), delete a contest, and start logging. The
// main window only forwards to them. They need the configuration dialog and
// the logging window; until those exist, UnavailableCatalogueActions tells
// the operator so instead of pretending to act.

#include <string>

namespace kontura {

class CatalogueActions {
 public:
  virtual ~CatalogueActions() = default;
  virtual void New() = 0;           // "Neu"
  virtual void Start() = 0;         // "Starten", Enter, F10, double click
  virtual void Delete() = 0;        // "Löschen"
  virtual void StartLogging() = 0;  // the hidden "Start [F10]"
  // The browser's deletion handler for the Delete key (no second question).
  // True when the contest was deleted.
  virtual bool DeleteWithoutQuestion() = 0;
};

class UnavailableCatalogueActions : public CatalogueActions {
 public:
  void New() override { Tell(); }
  void Start() override { Tell(); }
  void Delete() override { Tell(); }
  void StartLogging() override { Tell(); }
  bool DeleteWithoutQuestion() override {
    Tell();
    return false;
  }

  // The message shown for every action.
  static std::string Text();

 private:
  static void Tell();
};

}  // namespace kontura
