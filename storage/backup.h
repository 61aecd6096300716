#pragma once
// Backups of a contest's log while it is worked: generations of copies in a
// backup directory, each one consistent by itself, and the restore of one.
//
// A backup runs in two halves. The snapshot reads the files of the contest's
// log (FHLK<nnnn>) and of FHKK and FHKZ between two operations, through the
// engine's own handles after a flush, so that every copied file passes the
// integrity check by itself; it is fast (the files are in the page cache)
// and runs where the engine runs. Writing the generation touches no engine
// state and may run on another thread: every file goes into a directory
// "<generation>.tmp", is synced, and the directory is renamed to its final
// name, so an interrupted backup never replaces or damages a good
// generation. Only the newest `keep` generations of a contest are kept.
//
// Generations are directories named "K<nnnn>-<yyyymmdd>-<hhmmss>" after the
// contest number and the UTC time of the snapshot; they hold the files
// under their own names ("FHLK0007.DAT", "FHLK0007.IX", "FHKK.DAT", ...).

#include <cstdint>
#include <string>
#include <vector>

namespace kontura {

struct BackupFile {
  std::string name;  // "FHLK0007.DAT"
  std::vector<uint8_t> bytes;
};

struct BackupSnapshot {
  int32_t contest_number = 0;
  int64_t utc_seconds = 0;  // seconds since 1970-01-01 UTC
  std::vector<BackupFile> files;
};

// Takes the snapshot of a contest: its log and FHKK and FHKZ, each read
// through its open handle or, when closed, opened for the read and closed
// again. Fileblocks that do not exist yet are left out. False with a German
// reason in *error when a file could not be read.
bool TakeBackupSnapshot(int32_t contest_number, int64_t utc_seconds, BackupSnapshot* out, std::string* error);

// Writes a snapshot as a new generation into directory (created when
// missing) and removes the contest's generations beyond the newest `keep`
// and what interrupted backups left. Uses no engine state: safe on a
// thread of its own. False with a German reason in *error; a generation
// that failed leaves the earlier ones as they were.
bool WriteBackupGeneration(const BackupSnapshot& snapshot, const std::string& directory, int keep,
                           std::string* generation, std::string* error);

struct BackupGeneration {
  std::string name;  // "K0007-20261210-073000"
  int32_t contest_number = 0;
  int64_t utc_seconds = 0;
  int32_t records = -1;  // records of the log copy; -1 when unreadable
};

// The complete generations in directory, oldest first; contest_number 0
// lists every contest's.
std::vector<BackupGeneration> ListBackupGenerations(const std::string& directory, int32_t contest_number);

// The name of a generation (without directory).
std::string BackupGenerationName(int32_t contest_number, int64_t utc_seconds);

// Puts the log copy of a generation back as the contest's log in data_dir
// (with trailing "/"): written beside the log under temporary names, synced,
// then renamed over it. Refuses while another opener (this program or
// another one) holds the log. FHKK and FHKZ stay as they are: the next
// opening of the log recounts the totals into them. generation empty takes
// the newest one.
bool RestoreBackupGeneration(const std::string& directory, int32_t contest_number, const std::string& generation,
                             const std::string& data_dir, std::string* error);

}  // namespace kontura
