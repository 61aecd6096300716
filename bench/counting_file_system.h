#pragma once
// The benchmarks' file system: counts the synchronous flushes the engine
// asks for, and can leave them out to show what an operation costs besides
// the disk.

#include <memory>
#include <utility>

#include "storage/file_system.h"

namespace kontura {

class CountingFileSystem : public ForwardingFileSystem {
 public:
  long syncs = 0;
  bool skip_sync = false;

 protected:
  std::unique_ptr<StorageFile> Wrap(std::unique_ptr<StorageFile> file) override {
    return std::make_unique<File>(std::move(file), this);
  }

 private:
  class File : public ForwardingFile {
   public:
    File(std::unique_ptr<StorageFile> inner, CountingFileSystem* fs) : ForwardingFile(std::move(inner)), m_fs(fs) {}
    bool Sync() override {
      ++m_fs->syncs;
      return m_fs->skip_sync || m_inner->Sync();
    }

   private:
    CountingFileSystem* m_fs;
  };
};

}  // namespace kontura
