#include "tools/tool_commands.h"

namespace kontura::tool {

// Add a command: declare its run function here and list it below.
int RunBackup(const std::vector<std::string>& args);
int RunBackups(const std::vector<std::string>& args);
int RunBasecall(const std::vector<std::string>& args);
int RunCheck(const std::vector<std::string>& args);
int RunContests(const std::vector<std::string>& args);
int RunDump(const std::vector<std::string>& args);
int RunDxcc(const std::vector<std::string>& args);
int RunExport(const std::vector<std::string>& args);
int RunImport(const std::vector<std::string>& args);
int RunPrefixdb(const std::vector<std::string>& args);
int RunQrb(const std::vector<std::string>& args);
int RunRebuild(const std::vector<std::string>& args);
int RunRestore(const std::vector<std::string>& args);

const std::vector<Command>& Commands() {
  static const std::vector<Command> commands = {
      {"backup", "backup NUMMER [--dir VERZ] [--keep ANZAHL]", "Logbuch eines Contests sichern (Verzeichnis backup)",
       RunBackup},
      {"backups", "backups [NUMMER] [--dir VERZ]", "Sicherungen auflisten: Name, Contest, UTC-Zeit, Datensätze",
       RunBackups},
      {"basecall", "basecall CALL", "Grundrufzeichen und anderer Teil eines Rufzeichens", RunBasecall},
      {"check", "check PFAD", "Fileblock prüfen (nur lesend)", RunCheck},
      {"contests", "contests", "Conteste dieser Ausgabe: Nummer, Name, Beginn, Rufzeichen", RunContests},
      {"dump", "dump PFAD", "Datensätze eines Fileblocks auflisten (nur lesend)", RunDump},
      {"dxcc", "dxcc CALL [TT.MM.JJJJ]", "DXCC-Gebiet eines Rufzeichens aus der Präfixdatenbank", RunDxcc},
      {"export", "export NUMMER ART DATEI [--rst-only]",
       "Ausgabe des Export-Menüs als Datei (ART: sum, all, bnd, txt, adi, csv)", RunExport},
      {"import", "import NUMMER DATEI... [--map FELD=TAG]... [--no-check]",
       "ADIF-Dateien in das Log eines Contests importieren", RunImport},
      {"prefixdb", "prefixdb CTY.CSV [VERZ]", "Präfixdatenbank aus einer cty.csv-Länderdatei aufbauen", RunPrefixdb},
      {"qrb", "qrb VON NACH", "Entfernung (km) und Richtung zwischen zwei Locatoren", RunQrb},
      {"rebuild", "rebuild PFAD", "Fileblock neu aufbauen (Daten reorganisieren, Indizes neu)", RunRebuild},
      {"restore", "restore NUMMER [GENERATION] [--dir VERZ]",
       "Sicherung als Logbuch des Contests zurückholen (neueste, wenn keine genannt)", RunRestore},
  };
  return commands;
}

}  // namespace kontura::tool
