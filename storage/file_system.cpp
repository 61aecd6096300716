#include "storage/file_system.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

namespace kontura {
namespace {

class PosixFile : public StorageFile {
 public:
  explicit PosixFile(int fd) : m_fd(fd) {}
  ~PosixFile() override { ::close(m_fd); }  // closing also drops the lock

  int64_t ReadAt(uint64_t off, void* buf, size_t n) override {
    size_t done = 0;
    while (done < n) {
      ssize_t r = ::pread(m_fd, static_cast<char*>(buf) + done, n - done, static_cast<off_t>(off + done));
      if (r < 0) {
        if (errno == EINTR) continue;
        m_error = errno;
        return -1;
      }
      if (r == 0) break;
      done += static_cast<size_t>(r);
    }
    return static_cast<int64_t>(done);
  }

  int64_t WriteAt(uint64_t off, const void* buf, size_t n) override {
    size_t done = 0;
    while (done < n) {
      ssize_t r = ::pwrite(m_fd, static_cast<const char*>(buf) + done, n - done, static_cast<off_t>(off + done));
      if (r < 0) {
        if (errno == EINTR) continue;
        m_error = errno;
        return done > 0 ? static_cast<int64_t>(done) : -1;
      }
      if (r == 0) break;
      done += static_cast<size_t>(r);
    }
    return static_cast<int64_t>(done);
  }

  int64_t Size() override {
    struct stat st;
    if (::fstat(m_fd, &st) != 0) {
      m_error = errno;
      return -1;
    }
    return st.st_size;
  }

  bool Truncate(uint64_t size) override {
    if (::ftruncate(m_fd, static_cast<off_t>(size)) == 0) return true;
    m_error = errno;
    return false;
  }

  bool Sync() override {
    if (::fdatasync(m_fd) == 0) return true;
    m_error = errno;
    return false;
  }

  int os_error() const override { return m_error; }

 private:
  int m_fd;
  int m_error = 0;
};

class PosixFileSystem : public StorageFileSystem {
 public:
  std::unique_ptr<StorageFile> Open(const std::string& path, OpenMode mode, int* os_error) override {
    int flags = O_CLOEXEC;
    switch (mode) {
      case OpenMode::kExisting: flags |= O_RDWR; break;
      case OpenMode::kCreate: flags |= O_RDWR | O_CREAT | O_TRUNC; break;
      case OpenMode::kReadShared: flags |= O_RDONLY; break;
    }
    // Creating must not truncate a file that another program holds: take the
    // lock on an untruncated descriptor first, truncate afterwards.
    int fd = ::open(path.c_str(), flags & ~O_TRUNC, 0644);
    if (fd < 0) {
      *os_error = errno;
      return nullptr;
    }
    int lock = mode == OpenMode::kReadShared ? LOCK_SH : LOCK_EX;
    if (::flock(fd, lock | LOCK_NB) != 0) {
      *os_error = errno == EINTR ? EWOULDBLOCK : errno;
      ::close(fd);
      return nullptr;
    }
    if ((flags & O_TRUNC) && ::ftruncate(fd, 0) != 0) {
      *os_error = errno;
      ::close(fd);
      return nullptr;
    }
    return std::make_unique<PosixFile>(fd);
  }

  int64_t FileSize(const std::string& path) override {
    struct stat st;
    if (::stat(path.c_str(), &st) != 0) return -1;
    return st.st_size;
  }

  bool Remove(const std::string& path) override { return ::unlink(path.c_str()) == 0; }

  bool Rename(const std::string& from, const std::string& to) override {
    return std::rename(from.c_str(), to.c_str()) == 0;
  }
};

StorageFileSystem* g_installed = nullptr;

}  // namespace

StorageFileSystem& PosixStorageFileSystem() {
  static PosixFileSystem fs;
  return fs;
}

StorageFileSystem& TheStorageFileSystem() { return g_installed ? *g_installed : PosixStorageFileSystem(); }

void SetStorageFileSystem(StorageFileSystem* fs) { g_installed = fs; }

}  // namespace kontura
