#pragma once
// A file system for storage tests that runs out of disk space after a given
// number of written bytes: the write that crosses the limit is cut short and
// fails with ENOSPC, as on a full disk. It can also fail every read with EIO
// (a disk that went away) and counts the reads.

#include <cerrno>
#include <memory>

#include "storage/file_system.h"

namespace kontura::testing {

class FaultyFileSystem : public ForwardingFileSystem {
 public:
  int64_t write_budget = -1;  // bytes still writable; -1: no limit
  bool fail_reads = false;
  long reads = 0;             // read calls so far, failed ones included

 protected:
  std::unique_ptr<StorageFile> Wrap(std::unique_ptr<StorageFile> file) override {
    return std::make_unique<File>(std::move(file), this);
  }

 private:
  class File : public ForwardingFile {
   public:
    File(std::unique_ptr<StorageFile> inner, FaultyFileSystem* fs) : ForwardingFile(std::move(inner)), m_fs(fs) {}
    int64_t WriteAt(uint64_t off, const void* buf, size_t n) override {
      int64_t& budget = m_fs->write_budget;
      if (budget < 0 || static_cast<int64_t>(n) <= budget) {
        if (budget >= 0) budget -= static_cast<int64_t>(n);
        return m_inner->WriteAt(off, buf, n);
      }
      size_t part = static_cast<size_t>(budget);
      budget = 0;
      m_error = ENOSPC;
      if (part == 0) return -1;
      return m_inner->WriteAt(off, buf, part);
    }
    int64_t ReadAt(uint64_t off, void* buf, size_t n) override {
      ++m_fs->reads;
      if (!m_fs->fail_reads) return m_inner->ReadAt(off, buf, n);
      m_error = EIO;
      return -1;
    }
    int os_error() const override { return m_error ? m_error : m_inner->os_error(); }

   private:
    FaultyFileSystem* m_fs;
    int m_error = 0;
  };
};

}  // namespace kontura::testing
