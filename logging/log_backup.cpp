#include "logging/log_backup.h"

#include <ctime>
#include <memory>
#include <utility>

#include "storage/backup.h"

namespace kontura {

namespace {

std::string UtcClock(int64_t utc_seconds) {
  const std::time_t t = static_cast<std::time_t>(utc_seconds);
  std::tm tm{};
  gmtime_r(&t, &tm);
  char text[16];
  std::strftime(text, sizeof text, "%H:%M:%S", &tm);
  return text;
}

}  // namespace

LogBackup::LogBackup(int32_t contest_number, BackupPolicy policy, BackupWorker& worker,
                     std::function<int64_t()> utc_now)
    : m_contest(contest_number),
      m_policy(std::move(policy)),
      m_worker(worker),
      m_utc_now(std::move(utc_now)),
      m_status("Sicherung nach " + m_policy.directory + ": noch keine") {}

LogBackup::~LogBackup() { m_worker.Wait(); }

void LogBackup::QsoSaved() {
  if (++m_saved_since >= m_policy.every) BackupNow();
}

void LogBackup::Poll() {
  if (m_pending && !m_busy.load()) BackupNow();
}

void LogBackup::BackupNow() {
  m_saved_since = 0;
  if (m_busy.load()) {
    m_pending = true;
    return;
  }
  m_pending = false;
  auto snapshot = std::make_shared<BackupSnapshot>();
  std::string error;
  if (!TakeBackupSnapshot(m_contest, m_utc_now(), snapshot.get(), &error)) {
    SetStatus("Sicherung fehlgeschlagen: " + error + " Neuer Versuch bei der n\xE4" "chsten Sicherung.");
    return;
  }
  m_busy.store(true);
  m_worker.Start([this, snapshot] {
    std::string generation, why;
    if (WriteBackupGeneration(*snapshot, m_policy.directory, m_policy.keep, &generation, &why)) {
      ++m_written;
      SetStatus("Letzte Sicherung " + UtcClock(snapshot->utc_seconds) + " UTC in " + m_policy.directory);
    } else {
      SetStatus("Sicherung fehlgeschlagen: " + why + " Neuer Versuch bei der n\xE4" "chsten Sicherung.");
    }
    m_busy.store(false);
  });
}

void LogBackup::Finish() {
  m_worker.Wait();
  BackupNow();
  m_worker.Wait();
}

std::string LogBackup::Status() const {
  std::lock_guard<std::mutex> lock(m_mutex);
  return m_status;
}

void LogBackup::SetStatus(std::string text) {
  std::lock_guard<std::mutex> lock(m_mutex);
  m_status = std::move(text);
}

}  // namespace kontura
