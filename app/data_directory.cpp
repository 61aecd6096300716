#include "app/data_directory.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "app/prefix_database_start.h"
#include "app/storage_setup.h"
#include "platform/code_page.h"
#include "platform/platform.h"
#include "storage/catalogue.h"

namespace kontura {
namespace {

namespace fs = std::filesystem;

std::string EnvironmentValue(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

// The reason of a failed file operation in the operator's words; the
// system's own text is English.
std::string ReasonText(int error) {
  switch (error) {
    case EACCES:
    case EPERM: return "keine Zugriffsberechtigung";
    case EROFS: return "der Datentr\xC3\xA4ger ist schreibgesch\xC3\xBCtzt";
    case ENOSPC: return "der Datentr\xC3\xA4ger ist voll";
#ifdef EDQUOT
    case EDQUOT: return "das Speicherkontingent ist ersch\xC3\xB6pft";
#endif
    case ENOTDIR: return "ein Teil des Pfades ist kein Verzeichnis";
    case ENOENT: return "ein Teil des Pfades fehlt";
    case ENAMETOOLONG: return "der Pfad ist zu lang";
    case ELOOP: return "zu viele symbolische Verkn\xC3\xBCpfungen";
    default: return "Systemfehler " + std::to_string(error);
  }
}

std::string Refusal(const std::string& what) {
  return what + "\nKontura wird beendet. W\xC3\xA4hlen Sie mit --data VERZEICHNIS ein anderes Datenverzeichnis.";
}

// Creating a file is the one test that holds for every reason a directory
// may refuse writes (permissions, a read-only mount, ACLs); access() would
// answer yes for root on a read-only mount.
int ProbeWrite() {
  const std::string probe = ".kontura-schreibtest-" + std::to_string(getpid());
  const int fd = ::open(probe.c_str(), O_CREAT | O_EXCL | O_WRONLY, 0600);
  if (fd < 0) return errno;
  ::close(fd);
  ::unlink(probe.c_str());
  return 0;
}

void Tell(const std::string& utf8) {
  std::fprintf(stderr, "kontura: %s\n", utf8.c_str());
  std::string lines = utf8;
  for (char& c : lines) {
    if (c == '\n') c = '\r';
  }
  TheDialogs().ShowMessage(Utf8ToCp1252(lines));
}

}  // namespace

StartOptions ParseStartOptions(const std::vector<std::string>& args) {
  StartOptions options;
  for (size_t i = 0; i < args.size() && options.error.empty(); ++i) {
    const std::string& a = args[i];
    if (a == "--data") {
      if (i + 1 == args.size() || args[i + 1].empty()) {
        options.error = "--data braucht ein Verzeichnis";
      } else {
        options.data_dir = args[++i];
      }
    } else if (a.rfind("--data=", 0) == 0) {
      options.data_dir = a.substr(7);
      if (options.data_dir.empty()) options.error = "--data braucht ein Verzeichnis";
    } else if (a == "--data-home") {
      options.data_home = true;
    } else if (a == "--help" || a == "-h") {
      options.help = true;
    } else if (a.rfind("--", 0) == 0) {
      options.error = "unbekannte Option \"" + a + "\"";
    }
  }
  return options;
}

StartEnvironment ProcessEnvironment() {
  StartEnvironment env;
  env.kontura_data = EnvironmentValue("KONTURA_DATA");
  env.xdg_data_home = EnvironmentValue("XDG_DATA_HOME");
  env.home = EnvironmentValue("HOME");
  env.quit_when_shown = !EnvironmentValue("KONTURA_QUIT_WHEN_SHOWN").empty();
  env.cty_file = kHamradioFilesCty;
  return env;
}

std::string ChooseDataDirectory(const StartOptions& options, const StartEnvironment& env, std::string* error) {
  if (!options.data_dir.empty()) return options.data_dir;
  if (!env.kontura_data.empty()) return env.kontura_data;
  if (!options.data_home) return ".";
  if (!env.xdg_data_home.empty() && env.xdg_data_home.front() == '/') {
    return (fs::path(env.xdg_data_home) / "kontura").string();
  }
  if (!env.home.empty()) return (fs::path(env.home) / ".local/share/kontura").string();
  *error = "Das pers\xC3\xB6nliche Datenverzeichnis l\xC3\xA4sst sich nicht bestimmen: "
           "weder XDG_DATA_HOME noch HOME ist gesetzt.";
  return "";
}

bool EnterDataDirectory(const std::string& dir, std::string* message) {
  const std::string quoted = "\"" + dir + "\"";
  std::error_code ec;
  if (!fs::exists(dir, ec)) {
    fs::create_directories(dir, ec);
    if (ec) {
      *message = Refusal("Das Datenverzeichnis " + quoted + " kann nicht angelegt werden: " +
                         ReasonText(ec.value()) + ".");
      return false;
    }
  }
  if (!fs::is_directory(dir, ec)) {
    *message = Refusal(quoted + " ist kein Verzeichnis und kann nicht Datenverzeichnis sein.");
    return false;
  }
  const fs::path previous = fs::current_path(ec);
  fs::current_path(dir, ec);
  if (ec) {
    *message = Refusal("Das Datenverzeichnis " + quoted + " kann nicht ge\xC3\xB6" "ffnet werden: " +
                       ReasonText(ec.value()) + ".");
    return false;
  }
  if (const int error = ProbeWrite()) {
    fs::current_path(previous, ec);
    *message = Refusal("In das Datenverzeichnis " + quoted + " kann nicht geschrieben werden: " +
                       ReasonText(error) + ".");
    return false;
  }
  SetStartDirFromCurrentDirectory();
  return true;
}

std::string StartUsageText() {
  return "Aufruf: kontura [--data VERZEICHNIS | --data-home]\n"
         "\n"
         "Kontura arbeitet mit den Fileblocks seines Datenverzeichnisses:\n"
         "  --data VERZEICHNIS  dieses Verzeichnis (angelegt, wenn es fehlt)\n"
         "  --data-home         $XDG_DATA_HOME/kontura, sonst ~/.local/share/kontura\n"
         "                      (so startet das Men\xC3\xBC das Programm)\n"
         "  ohne Angabe         das Verzeichnis in KONTURA_DATA, sonst das Startverzeichnis\n"
         "--data und KONTURA_DATA gehen --data-home vor.\n";
}

ProgramStart PrepareProgramStart(const std::vector<std::string>& args, const StartEnvironment& env) {
  ProgramStart start;
  const StartOptions options = ParseStartOptions(args);
  if (!options.error.empty()) {
    std::fprintf(stderr, "kontura: %s\n\n%s", options.error.c_str(), StartUsageText().c_str());
    start.exit_code = 2;
    return start;
  }
  if (options.help) {
    std::fputs(StartUsageText().c_str(), stdout);
    return start;
  }
  std::string message;
  const std::string dir = ChooseDataDirectory(options, env, &message);
  if (dir.empty() || !EnterDataDirectory(dir, &message)) {
    Tell(message);
    start.exit_code = 1;
    return start;
  }
  if (!StartStorage()) {  // the fatal path has told the operator
    start.exit_code = 1;
    return start;
  }
  const PrefixDatabaseStart prefixes = BuildPrefixDatabaseIfEmpty(env.cty_file);
  StopStorage();
  if (prefixes.result == PrefixDatabaseStart::Result::kFailed) {
    // The main window's warning about the empty prefix file follows.
    std::fprintf(stderr, "kontura: %s\n", Cp1252ToUtf8(prefixes.error).c_str());
  }
  start.go_on = true;
  start.quit_when_shown = env.quit_when_shown;
  return start;
}

}  // namespace kontura
