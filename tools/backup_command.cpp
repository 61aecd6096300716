// kontura-tool backup, backups and restore: copies of a contest's log and
// of FHKK and FHKZ in the backup directory (the program's setting, by
// default "backup" in the current directory, unless --dir names another
// one), the list of the generations, and putting one back as the log.
//
//   backup NUMBER [--dir DIR] [--keep K]     a new generation; keeps the newest K (setting, 5)
//   backups [NUMBER] [--dir DIR]             generation, contest, UTC time, records
//   restore NUMBER [GENERATION] [--dir DIR]  the newest generation unless named

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

#include "app/storage_setup.h"
#include "platform/code_page.h"
#include "platform/program_settings.h"
#include "storage/backup.h"
#include "storage/catalogue.h"
#include "tools/tool_commands.h"

namespace kontura::tool {
namespace {

struct BackupArgs {
  std::vector<std::string> plain;  // the arguments that are not options
  std::string dir;
  int keep = 0;
};

bool Parse(const std::vector<std::string>& args, BackupArgs* out) {
  const ProgramSettings settings = LoadProgramSettings(ProgramSettingsPath());
  out->dir = settings.backup_dir;
  out->keep = settings.backup_keep;
  for (size_t i = 0; i < args.size(); ++i) {
    if ((args[i] == "--dir" || args[i] == "--keep") && i + 1 < args.size()) {
      if (args[i] == "--dir") {
        out->dir = args[++i];
      } else {
        out->keep = std::atoi(args[++i].c_str());
        if (out->keep < 1) return false;
      }
    } else if (args[i].starts_with("--")) {
      return false;
    } else {
      out->plain.push_back(args[i]);
    }
  }
  return true;
}

bool ParseContest(const std::string& text, int32_t* n) {
  char* end = nullptr;
  const long v = std::strtol(text.c_str(), &end, 10);
  if (text.empty() || *end != '\0' || v < 0 || v > 9999) return false;
  *n = static_cast<int32_t>(v);
  return true;
}

int Fail(const std::string& cp1252_text) {
  std::fprintf(stderr, "kontura-tool: %s\n", Cp1252ToUtf8(cp1252_text).c_str());
  return 1;
}

}  // namespace

int RunBackup(const std::vector<std::string>& args) {
  BackupArgs a;
  int32_t number = 0;
  if (!Parse(args, &a) || a.plain.size() != 1 || !ParseContest(a.plain[0], &number)) {
    std::fprintf(stderr, "Aufruf: kontura-tool backup NUMMER [--dir VERZ] [--keep ANZAHL]\n");
    return 2;
  }
  SetStartDirFromCurrentDirectory();
  if (!StartStorage()) return 1;
  BackupSnapshot snap;
  std::string error, generation;
  const bool taken = TakeBackupSnapshot(number, static_cast<int64_t>(std::time(nullptr)), &snap, &error);
  StopStorage();
  if (!taken) return Fail(error);
  if (snap.files.empty()) return Fail("Der Contest " + std::to_string(number) + " hat kein Logbuch.");
  if (!WriteBackupGeneration(snap, a.dir, a.keep, &generation, &error)) return Fail(error);
  std::printf("%s/%s\n", a.dir.c_str(), generation.c_str());
  return 0;
}

int RunBackups(const std::vector<std::string>& args) {
  BackupArgs a;
  int32_t number = 0;
  if (!Parse(args, &a) || a.plain.size() > 1 || (a.plain.size() == 1 && !ParseContest(a.plain[0], &number))) {
    std::fprintf(stderr, "Aufruf: kontura-tool backups [NUMMER] [--dir VERZ]\n");
    return 2;
  }
  for (const BackupGeneration& g : ListBackupGenerations(a.dir, number)) {
    const std::time_t t = static_cast<std::time_t>(g.utc_seconds);
    std::tm tm{};
    gmtime_r(&t, &tm);
    char when[32];
    std::strftime(when, sizeof when, "%d.%m.%Y %H:%M:%S", &tm);
    std::printf("%s\t%d\t%s\t%d\n", g.name.c_str(), g.contest_number, when, g.records);
  }
  return 0;
}

int RunRestore(const std::vector<std::string>& args) {
  BackupArgs a;
  int32_t number = 0;
  if (!Parse(args, &a) || a.plain.empty() || a.plain.size() > 2 || !ParseContest(a.plain[0], &number)) {
    std::fprintf(stderr, "Aufruf: kontura-tool restore NUMMER [GENERATION] [--dir VERZ]\n");
    return 2;
  }
  SetStartDirFromCurrentDirectory();
  std::string error;
  const std::string generation = a.plain.size() == 2 ? a.plain[1] : std::string();
  if (!RestoreBackupGeneration(a.dir, number, generation, StartDir(), &error)) return Fail(error);
  std::printf("Logbuch %s wiederhergestellt.\n", FhlkFileName(number).c_str());
  return 0;
}

}  // namespace kontura::tool
