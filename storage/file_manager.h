#pragma once
// Engine-internal: the state shared by all fileblocks (started flag, the
// re-entry guard, the list of open fileblocks, the pool of OS handles kept
// in most-recently-used order) and the handle pool's operations.

#include <list>
#include <string>

#include "storage/fileblock.h"

namespace kontura::storage_detail {

struct FileManagerState {
  bool started = false;
  bool busy = false;
  int max_handles = 32;
  std::list<Fileblock*> open_fileblocks;  // in opening order
  std::list<Fileblock*> files_in_use;     // fileblocks with open files, most recently used first
  LockRetryHandler default_lock_retry;
};

FileManagerState& Manager();

// Makes room in the pool for fb's handles (closing the files of the least
// recently used other fileblocks); false with 24606 logged when impossible.
bool ReserveHandles(Fileblock* fb);
void MarkFilesUsed(Fileblock* fb);
void ForgetFiles(Fileblock* fb);

// Maps an OS error of an open call to an engine error code.
int OpenErrorCode(int os_error, bool creating);

}  // namespace kontura::storage_detail
