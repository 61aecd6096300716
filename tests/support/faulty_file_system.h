#pragma once
// A file system for storage tests that runs out of disk space after a given
// number of written bytes: the write that crosses the limit is cut short and
// fails with ENOSPC, as on a full disk.

#include <cerrno>
#include <memory>

#include "storage/file_system.h"

namespace kontura::testing {

class FaultyFileSystem : public StorageFileSystem {
 public:
  int64_t write_budget = -1;  // bytes still writable; -1: no limit

  std::unique_ptr<StorageFile> Open(const std::string& path, OpenMode mode, int* os_error) override {
    auto inner = PosixStorageFileSystem().Open(path, mode, os_error);
    if (!inner) return nullptr;
    return std::make_unique<File>(std::move(inner), this);
  }
  int64_t FileSize(const std::string& path) override { return PosixStorageFileSystem().FileSize(path); }
  bool Remove(const std::string& path) override { return PosixStorageFileSystem().Remove(path); }
  bool Rename(const std::string& from, const std::string& to) override {
    return PosixStorageFileSystem().Rename(from, to);
  }

 private:
  class File : public StorageFile {
   public:
    File(std::unique_ptr<StorageFile> inner, FaultyFileSystem* fs) : m_inner(std::move(inner)), m_fs(fs) {}
    int64_t ReadAt(uint64_t off, void* buf, size_t n) override { return m_inner->ReadAt(off, buf, n); }
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
    int64_t Size() override { return m_inner->Size(); }
    bool Truncate(uint64_t size) override { return m_inner->Truncate(size); }
    bool Sync() override { return m_inner->Sync(); }
    int os_error() const override { return m_error ? m_error : m_inner->os_error(); }

   private:
    std::unique_ptr<StorageFile> m_inner;
    FaultyFileSystem* m_fs;
    int m_error = 0;
  };
};

}  // namespace kontura::testing
