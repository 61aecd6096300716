#pragma once
// File access of the storage engine behind a small interface, so that tests
// can inject short writes, a full disk or a crash at a chosen write. The
// default implementation works on POSIX files and takes an exclusive,
// non-blocking lock on every file it opens for writing: another program of
// the suite (or a second copy of this one) that holds the fileblock makes the
// open fail instead of both writing into the same files.

#include <cstdint>
#include <memory>
#include <string>
#include <utility>

namespace kontura {

class StorageFile {
 public:
  virtual ~StorageFile() = default;
  // Reads up to n bytes at off. Returns the bytes read (fewer at the end of
  // the file) or -1 with the OS error in os_error().
  virtual int64_t ReadAt(uint64_t off, void* buf, size_t n) = 0;
  // Writes n bytes at off. Returns the bytes written or -1; fewer than n
  // means the disk is full.
  virtual int64_t WriteAt(uint64_t off, const void* buf, size_t n) = 0;
  virtual int64_t Size() = 0;  // -1 on error
  virtual bool Truncate(uint64_t size) = 0;
  virtual bool Sync() = 0;  // flushes the OS buffers to the disk
  virtual int os_error() const = 0;
};

enum class OpenMode {
  kExisting,     // read and write, exclusive; fails with ENOENT when absent
  kCreate,       // create anew (truncating), read and write, exclusive
  kReadShared,   // read only, shared lock (the integrity check)
};

class StorageFileSystem {
 public:
  virtual ~StorageFileSystem() = default;
  // nullptr with the OS error in *os_error on failure; EWOULDBLOCK when the
  // file is locked by another opener.
  virtual std::unique_ptr<StorageFile> Open(const std::string& path, OpenMode mode, int* os_error) = 0;
  virtual int64_t FileSize(const std::string& path) = 0;  // -1 when absent
  virtual bool Remove(const std::string& path) = 0;
  virtual bool Rename(const std::string& from, const std::string& to) = 0;
};

// The file system the engine uses; tests install a wrapper and restore the
// default with SetStorageFileSystem(nullptr).
StorageFileSystem& TheStorageFileSystem();
void SetStorageFileSystem(StorageFileSystem* fs);
StorageFileSystem& PosixStorageFileSystem();

inline bool FileExists(const std::string& path) { return TheStorageFileSystem().FileSize(path) >= 0; }

// A file that hands every call to another one. Test doubles and benchmarks
// derive from it and override only what they change.
class ForwardingFile : public StorageFile {
 public:
  explicit ForwardingFile(std::unique_ptr<StorageFile> inner) : m_inner(std::move(inner)) {}
  int64_t ReadAt(uint64_t off, void* buf, size_t n) override { return m_inner->ReadAt(off, buf, n); }
  int64_t WriteAt(uint64_t off, const void* buf, size_t n) override { return m_inner->WriteAt(off, buf, n); }
  int64_t Size() override { return m_inner->Size(); }
  bool Truncate(uint64_t size) override { return m_inner->Truncate(size); }
  bool Sync() override { return m_inner->Sync(); }
  int os_error() const override { return m_inner->os_error(); }

 protected:
  std::unique_ptr<StorageFile> m_inner;
};

// A file system that hands every call to the POSIX one and passes each
// opened file through Wrap, where a derived class puts its own file around it.
class ForwardingFileSystem : public StorageFileSystem {
 public:
  std::unique_ptr<StorageFile> Open(const std::string& path, OpenMode mode, int* os_error) override {
    auto inner = PosixStorageFileSystem().Open(path, mode, os_error);
    return inner ? Wrap(std::move(inner)) : nullptr;
  }
  int64_t FileSize(const std::string& path) override { return PosixStorageFileSystem().FileSize(path); }
  bool Remove(const std::string& path) override { return PosixStorageFileSystem().Remove(path); }
  bool Rename(const std::string& from, const std::string& to) override {
    return PosixStorageFileSystem().Rename(from, to);
  }

 protected:
  virtual std::unique_ptr<StorageFile> Wrap(std::unique_ptr<StorageFile> file) { return file; }
};

}  // namespace kontura
