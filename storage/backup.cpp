#include "storage/backup.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <system_error>

#include "storage/catalogue.h"
#include "storage/data_file.h"
#include "storage/file_layout.h"
#include "storage/file_system.h"
#include "storage/fileblock.h"
#include "storage/integrity_check.h"
#include "text/text_util.h"

namespace kontura {

namespace fs = std::filesystem;

namespace {

constexpr char kTmpSuffix[] = ".tmp";

std::string OsText(int os_error) { return os_error ? std::string(" (") + std::strerror(os_error) + ")" : ""; }

// Reads the files of one fileblock into the snapshot; a fileblock without
// data file is left out.
bool SnapshotFileblock(CatalogueId id, const std::string& file_name, BackupSnapshot* out, std::string* error) {
  if (!FileExists(StartDir() + file_name + ".DAT")) return true;
  BackupFile dat{file_name + ".DAT", {}};
  BackupFile ix{file_name + ".IX", {}};
  bool read = false;
  if (OpenCatalogued(id, file_name)) {
    read = CatalogueHandle(id)->ReadFileImages(&dat.bytes, &ix.bytes);
    CloseCatalogued(id);
  }
  if (!read) {
    *error = "Die Datei " + file_name + " konnte f\xFCr die Sicherung nicht gelesen werden.";
    return false;
  }
  out->files.push_back(std::move(dat));
  if (!ix.bytes.empty()) out->files.push_back(std::move(ix));
  return true;
}

bool WriteSynced(const std::string& path, const std::vector<uint8_t>& bytes, std::string* error) {
  int os_error = 0;
  std::unique_ptr<StorageFile> f = TheStorageFileSystem().Open(path, OpenMode::kCreate, &os_error);
  if (!f) {
    *error = "Die Datei " + path + " konnte nicht angelegt werden" + OsText(os_error) + ".";
    return false;
  }
  if (f->WriteAt(0, bytes.data(), bytes.size()) != static_cast<int64_t>(bytes.size()) || !f->Sync()) {
    *error = "Die Datei " + path + " konnte nicht geschrieben werden" + OsText(f->os_error()) + ".";
    return false;
  }
  return true;
}

bool ReadAll(const std::string& path, std::vector<uint8_t>* out) {
  int os_error = 0;
  std::unique_ptr<StorageFile> f = TheStorageFileSystem().Open(path, OpenMode::kReadShared, &os_error);
  if (!f) return false;
  const int64_t size = f->Size();
  if (size < 0) return false;
  out->resize(static_cast<size_t>(size));
  return f->ReadAt(0, out->data(), out->size()) == size;
}

// A renamed directory entry reaches the disk with a sync of its directory.
void SyncDirectory(const std::string& dir) {
  int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

// "K0007" for contest 7: the log's own numbering, also beyond 9999.
std::string GenerationPrefix(int32_t contest_number) {
  return Concat({"K", std::string_view(FhlkFileName(contest_number)).substr(4)});
}

// Parses "K<number>-<yyyymmdd>-<hhmmss>"; only a name that the same
// contest and time would give again counts.
bool ParseGenerationName(const std::string& name, BackupGeneration* g) {
  int number = 0, date = 0, time = 0;
  if (std::sscanf(name.c_str(), "K%d-%8d-%6d", &number, &date, &time) != 3) return false;
  std::tm t{};
  t.tm_year = date / 10000 - 1900;
  t.tm_mon = date / 100 % 100 - 1;
  t.tm_mday = date % 100;
  t.tm_hour = time / 10000;
  t.tm_min = time / 100 % 100;
  t.tm_sec = time % 100;
  const int64_t utc = static_cast<int64_t>(timegm(&t));
  if (BackupGenerationName(number, utc) != name) return false;
  g->name = name;
  g->contest_number = number;
  g->utc_seconds = utc;
  return true;
}

int32_t LogRecordsOf(const std::string& generation_dir, int32_t contest_number) {
  std::vector<uint8_t> dat;
  if (!ReadAll(generation_dir + "/" + FhlkFileName(contest_number) + ".DAT", &dat) ||
      dat.size() < static_cast<size_t>(layout::kDataHeaderBytes)) {
    return -1;
  }
  const DataHeader h = DecodeDataHeader(dat.data());
  return h.slot_count - h.free_count;
}

// Removes a generation: renamed out of the list first, so that a process
// killed while removing never leaves a listed generation with files
// missing; the next pruning removes what is left.
void RemoveGeneration(const fs::path& dir) {
  std::error_code ec;
  fs::path gone = dir;
  gone += std::string(".del") + kTmpSuffix;
  fs::remove_all(gone, ec);
  fs::rename(dir, gone, ec);
  if (!ec) fs::remove_all(gone, ec);
}

// Removes the contest's generations beyond the newest `keep` and the
// directories of interrupted backups.
void Prune(const std::string& directory, int32_t contest_number, int keep) {
  std::error_code ec;
  const std::string prefix = GenerationPrefix(contest_number);
  for (const fs::directory_entry& e : fs::directory_iterator(directory, ec)) {
    const std::string name = e.path().filename().string();
    if (name.size() > 4 && name.ends_with(kTmpSuffix) && name.starts_with(prefix + "-")) fs::remove_all(e.path(), ec);
  }
  std::vector<BackupGeneration> gens = ListBackupGenerations(directory, contest_number);
  for (size_t i = 0; i + static_cast<size_t>(std::max(keep, 1)) < gens.size(); ++i) {
    RemoveGeneration(fs::path(directory) / gens[i].name);
  }
}

}  // namespace

std::string BackupGenerationName(int32_t contest_number, int64_t utc_seconds) {
  const std::time_t t = static_cast<std::time_t>(utc_seconds);
  std::tm tm{};
  gmtime_r(&t, &tm);
  char stamp[80];
  std::snprintf(stamp, sizeof stamp, "-%04d%02d%02d-%02d%02d%02d", tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday,
                tm.tm_hour, tm.tm_min, tm.tm_sec);
  return GenerationPrefix(contest_number) + stamp;
}

bool TakeBackupSnapshot(int32_t contest_number, int64_t utc_seconds, BackupSnapshot* out, std::string* error) {
  *out = BackupSnapshot{};
  out->contest_number = contest_number;
  out->utc_seconds = utc_seconds;
  return SnapshotFileblock(CatalogueId::kFhlk, FhlkFileName(contest_number), out, error) &&
         SnapshotFileblock(CatalogueId::kFhkk, "FHKK", out, error) &&
         SnapshotFileblock(CatalogueId::kFhkz, "FHKZ", out, error);
}

bool WriteBackupGeneration(const BackupSnapshot& snapshot, const std::string& directory, int keep,
                           std::string* generation, std::string* error) {
  std::error_code ec;
  fs::create_directories(directory, ec);
  if (!fs::is_directory(directory, ec)) {
    *error = "Das Sicherungsverzeichnis " + directory + " konnte nicht angelegt werden.";
    return false;
  }
  *generation = BackupGenerationName(snapshot.contest_number, snapshot.utc_seconds);
  const std::string final_dir = directory + "/" + *generation;
  const std::string tmp_dir = final_dir + kTmpSuffix;
  fs::remove_all(tmp_dir, ec);
  if (!fs::create_directory(tmp_dir, ec)) {
    *error = "Im Sicherungsverzeichnis " + directory + " kann nicht geschrieben werden" + OsText(ec.value()) + ".";
    return false;
  }
  for (const BackupFile& f : snapshot.files) {
    if (!WriteSynced(tmp_dir + "/" + f.name, f.bytes, error)) {
      fs::remove_all(tmp_dir, ec);
      return false;
    }
  }
  SyncDirectory(tmp_dir);
  // A generation of the same second is replaced as a whole.
  RemoveGeneration(final_dir);
  fs::rename(tmp_dir, final_dir, ec);
  if (ec) {
    *error = "Die Sicherung " + *generation + " konnte nicht abgeschlossen werden" + OsText(ec.value()) + ".";
    fs::remove_all(tmp_dir, ec);
    return false;
  }
  SyncDirectory(directory);
  Prune(directory, snapshot.contest_number, keep);
  return true;
}

std::vector<BackupGeneration> ListBackupGenerations(const std::string& directory, int32_t contest_number) {
  std::vector<BackupGeneration> out;
  std::error_code ec;
  for (const fs::directory_entry& e : fs::directory_iterator(directory, ec)) {
    BackupGeneration g;
    if (!e.is_directory(ec) || !ParseGenerationName(e.path().filename().string(), &g)) continue;
    if (contest_number != 0 && g.contest_number != contest_number) continue;
    g.records = LogRecordsOf(e.path().string(), g.contest_number);
    out.push_back(std::move(g));
  }
  std::sort(out.begin(), out.end(), [](const BackupGeneration& a, const BackupGeneration& b) {
    return a.utc_seconds != b.utc_seconds ? a.utc_seconds < b.utc_seconds : a.name < b.name;
  });
  return out;
}

bool RestoreBackupGeneration(const std::string& directory, int32_t contest_number, const std::string& generation,
                             const std::string& data_dir, std::string* error) {
  std::string name = generation;
  if (name.empty()) {
    std::vector<BackupGeneration> gens = ListBackupGenerations(directory, contest_number);
    if (gens.empty()) {
      *error = "F\xFCr den Contest " + std::to_string(contest_number) + " gibt es keine Sicherung in " + directory + ".";
      return false;
    }
    name = gens.back().name;
  }
  BackupGeneration parsed;
  if (!ParseGenerationName(name, &parsed) || parsed.contest_number != contest_number) {
    *error = "Die Sicherung " + name + " geh\xF6rt nicht zum Contest " + std::to_string(contest_number) + ".";
    return false;
  }
  const std::string log = FhlkFileName(contest_number);
  const std::string source = directory + "/" + name + "/" + log;
  std::vector<uint8_t> dat, ix;
  if (!ReadAll(source + ".DAT", &dat) || !ReadAll(source + ".IX", &ix)) {
    *error = "Die Sicherung " + name + " enth\xE4lt kein vollst\xE4ndiges Logbuch.";
    return false;
  }
  if (!CheckFileblock(source, FindCatalogueLayout(log)).ok()) {
    *error = "Die Sicherung " + name + " ist besch\xE4" "digt; das Logbuch bleibt unver\xE4ndert.";
    return false;
  }
  // Another opener holds the log: nothing may be replaced under it.
  const std::string target = data_dir + log;
  int os_error = 0;
  if (!TheStorageFileSystem().Open(target + ".DAT", OpenMode::kExisting, &os_error) && os_error != ENOENT) {
    *error = "Das Logbuch " + log + " wird gerade benutzt" + (os_error == EWOULDBLOCK ? "" : OsText(os_error)) +
             "; bitte das Logbuch zuerst schlie\xDF" "en.";
    return false;
  }
  // The data file goes back with its modification flag set: until the index
  // is in place too, the next opening rebuilds the index from it, so no
  // state between the two renames pairs a data file with a foreign index.
  dat[layout::kDataModified] = 1;
  if (!WriteSynced(target + ".DAT.restore", dat, error) || !WriteSynced(target + ".IX.restore", ix, error)) {
    TheStorageFileSystem().Remove(target + ".DAT.restore");
    return false;
  }
  if (!TheStorageFileSystem().Rename(target + ".DAT.restore", target + ".DAT") ||
      !TheStorageFileSystem().Rename(target + ".IX.restore", target + ".IX")) {
    *error = "Das Logbuch " + log + " konnte nicht ersetzt werden.";
    return false;
  }
  SyncDirectory(data_dir.empty() ? "." : data_dir);
  return true;
}

}  // namespace kontura
