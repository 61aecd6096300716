#pragma once
// Automatic backups while a contest is logged: after every `every` saved
// QSOs, when the log is closed, and when the operator asks for one. The
// snapshot is taken at once, between two operations of the caller (see
// storage/backup.h); writing the generation runs through a BackupWorker,
// on a thread of its own in the program, so that the QSO that triggered it
// is not delayed. A backup that fails (medium missing, read-only, full)
// shows in Status() and is tried again at the next trigger; it never stops
// the logging. A trigger while the previous backup is still being written
// is kept and run by Poll() once that one has finished.

#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

namespace kontura {

class BackupWorker {
 public:
  virtual ~BackupWorker() = default;
  // Runs job, now or on another thread. LogBackup starts a job only when
  // the one before has finished.
  virtual void Start(std::function<void()> job) = 0;
  // Returns when the job started last has finished.
  virtual void Wait() = 0;
};

// Runs each job right away: the command-line tool and tests.
class ImmediateBackupWorker : public BackupWorker {
 public:
  void Start(std::function<void()> job) override { job(); }
  void Wait() override {}
};

// Runs each job on a thread of its own: the program.
class ThreadBackupWorker : public BackupWorker {
 public:
  ~ThreadBackupWorker() override { Wait(); }
  void Start(std::function<void()> job) override {
    Wait();
    m_thread = std::thread(std::move(job));
  }
  void Wait() override {
    if (m_thread.joinable()) m_thread.join();
  }

 private:
  std::thread m_thread;
};

struct BackupPolicy {
  std::string directory;  // absolute, or relative to the current directory
  int every = 10;         // saved QSOs between two backups
  int keep = 5;           // generations of the contest kept
};

class LogBackup {
 public:
  // utc_now: seconds since 1970-01-01 UTC, for the generation's name.
  LogBackup(int32_t contest_number, BackupPolicy policy, BackupWorker& worker, std::function<int64_t()> utc_now);
  ~LogBackup();  // waits for a backup still being written
  LogBackup(const LogBackup&) = delete;
  LogBackup& operator=(const LogBackup&) = delete;

  // A QSO was saved: every `every`-th one triggers a backup.
  void QsoSaved();
  // A backup now (the operator's key).
  void BackupNow();
  // The clock's tick: runs a trigger that came while a backup was written.
  void Poll();
  // Closing the log: a last backup, written before this returns.
  void Finish();

  // One line for the status label (Windows-1252).
  std::string Status() const;
  // Generations written since the log was opened.
  int written() const { return m_written.load(); }

 private:
  void SetStatus(std::string text);

  const int32_t m_contest;
  const BackupPolicy m_policy;
  BackupWorker& m_worker;
  std::function<int64_t()> m_utc_now;
  int m_saved_since = 0;
  bool m_pending = false;
  std::atomic<bool> m_busy{false};
  std::atomic<int> m_written{0};
  mutable std::mutex m_mutex;
  std::string m_status;
};

}  // namespace kontura
