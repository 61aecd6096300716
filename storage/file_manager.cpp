// Engine start and stop, the list of open fileblocks and the handle pool.

#include "storage/file_manager.h"

#include <algorithm>
#include <cerrno>

#include "platform/code_page.h"
#include "storage/page_cache.h"

namespace kontura {

using storage_detail::LogError;
using storage_detail::Manager;

namespace storage_detail {

FileManagerState& Manager() {
  static FileManagerState state;
  return state;
}

static int HandlesInUse() {
  int n = 0;
  for (Fileblock* fb : Manager().files_in_use) n += fb->handles_needed();
  return n;
}

bool ReserveHandles(Fileblock* fb) {
  FileManagerState& m = Manager();
  while (HandlesInUse() + fb->handles_needed() > m.max_handles) {
    auto victim = std::find_if(m.files_in_use.rbegin(), m.files_in_use.rend(), [fb](Fileblock* o) { return o != fb; });
    if (victim == m.files_in_use.rend()) {
      LogError(err::kTooManyHandles, fb, 20);
      return false;
    }
    if (!(*victim)->CloseFiles()) return false;
  }
  return true;
}

void MarkFilesUsed(Fileblock* fb) {
  auto& l = Manager().files_in_use;
  auto it = std::find(l.begin(), l.end(), fb);
  if (it == l.end()) {
    l.push_front(fb);
  } else if (it != l.begin()) {
    l.splice(l.begin(), l, it);
  }
}

void ForgetFiles(Fileblock* fb) { Manager().files_in_use.remove(fb); }

int OpenErrorCode(int os_error, bool creating) {
  switch (os_error) {
    case ENOENT: return creating ? err::kPathNotFound : err::kFileNotFound;
    case ENOTDIR: return err::kPathNotFound;
    case EMFILE: case ENFILE: return err::kTooManyFiles;
    case ENOSPC: return err::kShortWrite;
    default: return err::kOsError;  // locked by another program, no permission, ...
  }
}

}  // namespace storage_detail

void InitFileManager(int page_buffers, int file_handles) {
  auto& m = Manager();
  storage_detail::ResetErrors(nullptr);
  storage_detail::SetOperation(kOpInit);
  if (file_handles < 7) {
    LogError(err::kHandleCount, nullptr);
  } else if (page_buffers < 8) {
    LogError(err::kNoPageBuffers, nullptr);
  } else {
    ThePageCache().Clear();
    ThePageCache().SetCapacity(page_buffers);
    m.max_handles = file_handles;
    m.started = true;
  }
  storage_detail::RunFatalHandlerIfNeeded();
}

void ExitFileManager() {
  auto& m = Manager();
  storage_detail::ResetErrors(nullptr);
  storage_detail::SetOperation(kOpExit);
  if (!m.open_fileblocks.empty()) {
    LogError(err::kFileblockOpen, m.open_fileblocks.front());
  } else {
    ThePageCache().Clear();
    m.started = false;
  }
  storage_detail::RunFatalHandlerIfNeeded();
}

bool FileManagerStarted() { return Manager().started; }

void CloseAllFileblocks() {
  // Used on the way out after a fatal error: close what can be closed.
  std::list<Fileblock*> l = Manager().files_in_use;
  for (Fileblock* fb : l) fb->CloseFiles();
}

Fileblock* FindOpenFileblock(const std::string& name) {
  storage_detail::ResetErrors(nullptr);
  storage_detail::SetOperation(kOpFind);
  std::string folded = FoldFileblockName(name);
  for (Fileblock* fb : Manager().open_fileblocks) {
    if (FoldFileblockName(fb->name()) == folded) return fb;
  }
  LogError(err::kNoFileblock, nullptr);
  return nullptr;
}

bool IsValidFileblock(const Fileblock* fb) {
  for (Fileblock* o : Manager().open_fileblocks) {
    if (o == fb) return true;
  }
  return false;
}

void SetDefaultLockRetryHandler(LockRetryHandler handler) { Manager().default_lock_retry = std::move(handler); }

std::string FileblockPath(const std::string& base, const std::string& ext) {
  size_t slash = base.find_last_of("/\\");
  size_t dot = base.find_last_of('.');
  std::string stem = (dot != std::string::npos && (slash == std::string::npos || dot > slash)) ? base.substr(0, dot) : base;
  return stem + "." + ext;
}

}  // namespace kontura
