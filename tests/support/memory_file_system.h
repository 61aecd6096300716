#pragma once
// An in-memory file system for the storage fuzz target and its regression
// test: files are byte vectors by path.

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <map>
#include <memory>
#include <vector>

#include "storage/file_system.h"

namespace kontura::testing {

class MemoryFileSystem : public StorageFileSystem {
 public:
  using Bytes = std::vector<uint8_t>;
  std::map<std::string, std::shared_ptr<Bytes>> files;

  std::unique_ptr<StorageFile> Open(const std::string& path, OpenMode mode, int* os_error) override {
    auto it = files.find(path);
    if (mode == OpenMode::kCreate) {
      files[path] = std::make_shared<Bytes>();
      return std::make_unique<File>(files[path]);
    }
    if (it == files.end()) {
      *os_error = ENOENT;
      return nullptr;
    }
    return std::make_unique<File>(it->second);
  }
  int64_t FileSize(const std::string& path) override {
    auto it = files.find(path);
    return it == files.end() ? -1 : static_cast<int64_t>(it->second->size());
  }
  bool Remove(const std::string& path) override { return files.erase(path) > 0; }
  bool Rename(const std::string& from, const std::string& to) override {
    auto it = files.find(from);
    if (it == files.end()) return false;
    auto data = it->second;
    files.erase(it);
    files[to] = data;
    return true;
  }

 private:
  class File : public StorageFile {
   public:
    explicit File(std::shared_ptr<Bytes> b) : m_b(std::move(b)) {}
    int64_t ReadAt(uint64_t off, void* buf, size_t n) override {
      if (off >= m_b->size()) return 0;
      size_t k = std::min(n, static_cast<size_t>(m_b->size() - off));
      std::memcpy(buf, m_b->data() + off, k);
      return static_cast<int64_t>(k);
    }
    int64_t WriteAt(uint64_t off, const void* buf, size_t n) override {
      if (off + n > (64u << 20)) {  // a file beyond 64 MiB: the disk is full
        m_error = ENOSPC;
        return -1;
      }
      if (m_b->size() < off + n) m_b->resize(off + n, 0);
      std::memcpy(m_b->data() + off, buf, n);
      return static_cast<int64_t>(n);
    }
    int64_t Size() override { return static_cast<int64_t>(m_b->size()); }
    bool Truncate(uint64_t size) override {
      m_b->resize(size);
      return true;
    }
    bool Sync() override { return true; }
    int os_error() const override { return m_error; }

   private:
    std::shared_ptr<Bytes> m_b;
    int m_error = 0;
  };
};

}  // namespace kontura::testing
