#include "app/storage_setup.h"

#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "catalogue/catalogue_table.h"
#include "platform/platform.h"
#include "storage/fileblock.h"
#include "storage/storage_error.h"
#include "text/calendar.h"
#include "text/date_time_text.h"
#include "text/picture_format.h"

namespace kontura {
namespace {

// Shown codes with advice of their own that the engine's error table has no
// name for: 91 (out of file handles in the operating system) and 10141 (a
// second form of the refused-access error some engine versions report).
constexpr int kShownTooFewHandles = 91;
constexpr int kShownOsErrorOther = 10141;

std::string g_log_file_name = "FK.ERR";
std::function<void(int)> g_program_end;

void EndProgram(int exit_code) {
  if (g_program_end) {
    g_program_end(exit_code);
  } else {
    std::exit(exit_code);
  }
}

// The file name of an entry's fileblock, or nothing when the object is gone.
const Fileblock* ValidFileblock(const Fileblock* fb) { return IsValidFileblock(fb) ? fb : nullptr; }

// Appends the dated entry to the log file. Best effort: a log that cannot be
// opened or written is skipped, the message is still shown.
void AppendErrorLog() {
  std::FILE* f = std::fopen(g_log_file_name.c_str(), "ab");
  if (!f) return;
  std::string text = "\r\n";
  text += "*->  " + TodayText("dd/mm/yyyy") + "  " + NowText("hh:mm") + "\r\n";

  const Fileblock* initial = ValidFileblock(StorageErrorFileblock());
  bool other = false;
  for (int i = 0; i < StorageErrorCount(); ++i) {
    if (StorageErrorAt(i).fileblock != StorageErrorFileblock()) other = true;
  }
  if (other && initial) text += "     InitialFileblock  " + initial->file_name() + "\r\n";

  for (int i = 0; i < StorageErrorCount(); ++i) {
    const StorageErrorEntry& e = StorageErrorAt(i);
    if (const Fileblock* fb = ValidFileblock(e.fileblock)) {
      text += "     Fileblock  " + fb->file_name() + "\r\n";
    }
    text += "     - Err: " + std::to_string(ShownErrorCode(e.code)) + "\r\n";
  }
  std::fwrite(text.data(), 1, text.size(), f);
  std::fclose(f);
}

}  // namespace

int ShownErrorCode(int code) { return code >= 0x3000 ? (code & 0xFFF) : code; }

std::string FatalErrorMessage(int shown_code) {
  std::string_view lines[6] = {};
  std::string first = shown_code == err::kOsError ? std::string("Datenbankzugriff verweigert!")
                                                  : "Fehlercode: " + FormatPictureInt("########", shown_code);
  lines[1] = "Das Programm wird abgebrochen. ";
  switch (shown_code) {
    case kShownTooFewHandles:
      lines[2] = "M\xF6gliche Fehlerursache: zu wenig Filehandle";
      lines[3] = "M\xF6gliche Fehlerbehebung: Erh\xF6hen Sie den Wert";
      lines[4] = "in der Datei CONFIG.SYS auf 100.";
      break;
    case err::kOsError:
    case kShownOsErrorOther:
      lines[2] =
          "M\xF6gl.Ursachen: Programmpfad zu lang (>50) o.Schreibschutz auf Datei o.and.Funkhof-Progr.aktiv.";
      lines[3] =
          "M\xF6gl.Behebung: Progr.in Ordner \"Programme\" install. o.Schreibschutz auf Dateien des Programms "
          "entfernen o.and.Funkhof-Progr.beenden!";
      break;
    case err::kShortWrite:
      lines[2] = "M\xF6gliche Fehlerursache: Zu wenig Plattenspeicher.";
      lines[3] = "M\xF6gliche Fehlerbehebung: Erh\xF6hen Sie den freien";
      lines[4] = "Festplattenspeicher.";
      break;
    case err::kShortRead:
      lines[2] = "M\xF6gliche Fehlerursache: Indexdatei defekt.";
      lines[3] = "M\xF6gliche Fehlerbehebung: Tritt dieser Fehler nach";
      lines[4] = "Neustart wieder auf: Informieren Sie die Hotline.";
      break;
    case err::kSavBesideDat:
      lines[2] = "M\xF6gliche Fehlerursache: Reorg. fehlgeschlagen.";
      lines[3] = "M\xF6gliche Fehlerbehebung: Tritt gleicher Fehler";
      lines[4] = "nach Neustart wieder auf: Benennen Sie .SAV-";
      lines[5] = "Dateien in .DAT-Dateien um.";
      break;
    default:
      break;
  }
  std::string message = first;
  for (int i = 1; i < 6; ++i) {
    message += '\r';
    message += lines[i];
  }
  return message;
}

void FatalStorageError() {
  if (StorageErrorClass() <= 2) return;  // a normal end: nothing to report
  AppendErrorLog();

  // The entry with the highest class, the first among equals.
  int worst = -1;
  for (int i = 0; i < StorageErrorCount(); ++i) {
    if (worst < 0 || StorageErrorAt(i).error_class > StorageErrorAt(worst).error_class) worst = i;
  }
  if (worst >= 0 && StorageErrorAt(worst).error_class > 2) {
    int shown = ShownErrorCode(StorageErrorAt(worst).code);
    TheDialogs().ShowMessage(FatalErrorMessage(shown));
    if (StorageErrorAt(worst).code == err::kShortRead) {
      // A damaged index: delete it so that the next start rebuilds it.
      if (const Fileblock* fb = ValidFileblock(StorageErrorAt(0).fileblock)) {
        std::remove((fb->file_name() + ".IX").c_str());
      }
    }
  }
  CloseAllFileblocks();
  EndProgram(1);
}

bool LockRetryDialog(const std::string& fileblock_name, int situation) {
  std::string_view text;
  switch (situation) {
    case situation::kRebuild:
    case situation::kCreate:
      return true;
    case situation::kLocked: text = " Record oder Datei gelockt. Noch einmal versuchen? "; break;
    case situation::kLockRecFailed: text = " LockRec gescheitert. Noch einmal versuchen? "; break;
    case situation::kLockFileFailed: text = " LockFileBlock gescheitert. Noch einmal versuchen? "; break;
    case situation::kRecordGone: text = " Satz bereits gel\xF6scht. Neuanlegen? "; break;
    case situation::kDriveNotReady: text = " Laufwerk nicht bereit. Noch einmal versuchen? "; break;
    default: text = " undefinierter Fehler. Noch einmal versuchen? "; break;
  }
  std::string question = fileblock_name.substr(0, 40) + ": " + std::string(text);
  return TheDialogs().AskYesNo(question);
}

bool StartStorage() {
  SetFatalStorageHandler(FatalStorageError);
  SetErrorLogFileName("FK.ERR");
  InstallProgramCatalogue();
  InitFileManager(160, 32);
  if (StorageErrorClass() != 0) return false;  // the fatal path has run
  SetErrorLogFileName("RUZ.ERR");
  SetDefaultLockRetryHandler(LockRetryDialog);
  return true;
}

void StopStorage() { ExitFileManager(); }

const std::string& ErrorLogFileName() { return g_log_file_name; }
void SetErrorLogFileName(const std::string& name) { g_log_file_name = name; }

void SetProgramEnd(std::function<void(int)> end) { g_program_end = std::move(end); }

}  // namespace kontura
