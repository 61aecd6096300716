// Fileblock lifecycle: creating the object, key definitions, opening,
// creating and rebuilding the files on first use, closing, erasing, and the
// wrapper that every engine call runs in (error state, retries, re-entry
// guard, fatal handler).

#include <chrono>
#include <cerrno>
#include <cstring>
#include <random>
#include <thread>

#include "storage/file_layout.h"
#include "storage/file_manager.h"
#include "storage/key_encoding.h"
#include "storage/rebuild.h"
#include "storage/record_bytes.h"

namespace kontura {

using storage_detail::LogError;
using storage_detail::Manager;

bool Fileblock::Run(int op, const std::function<void()>& body) {
  auto& m = Manager();
  if (m.busy) {
    // A key builder or handler called the engine: the running operation
    // carries the error and ends fatally.
    LogError(err::kReentry, this);
    return false;
  }
  storage_detail::ResetErrors(this);
  storage_detail::SetOperation(op);
  if (!m.started) {
    LogError(err::kNotStarted, this);
    storage_detail::RunFatalHandlerIfNeeded();
    return false;
  }
  m.busy = true;
  int tries = 0;
  for (;;) {
    body();
    if (StorageErrorClass() != 2 || !RetryDecision(&tries)) break;
    storage_detail::ResetErrors(this);
  }
  if (StorageErrorClass() >= 3 && m_data) {
    // After a fatal error the in-memory headers and pages may not match the
    // files. Drop them unwritten: the modification flag stays 1 on disk and
    // the next opening rebuilds the fileblock from the data file, which gets
    // the record slots the operations before this one wrote.
    m_data->WritePending();
    DropFiles();
  }
  m.busy = false;
  storage_detail::RunFatalHandlerIfNeeded();
  return StorageErrorClass() == 0;
}

bool Fileblock::RetryDecision(int* tries) {
  ++*tries;
  if (*tries <= m_retry_count) {
    static std::mt19937 rng(std::random_device{}());
    int top = *tries < m_retry_count / 2 ? 90 : 30;
    std::this_thread::sleep_for(std::chrono::milliseconds(std::uniform_int_distribution<int>(1, top)(rng)));
    return true;
  }
  int s = StorageErrorCode() == err::kPathNotFound ? situation::kPathNotFound : situation::kLocked;
  if (!AskHandler(s)) return false;
  *tries = 0;
  return true;
}

bool Fileblock::AskHandler(int situation) {
  if (m_lock_retry) return m_lock_retry(m_name, situation);
  // Without a handler, creating and rebuilding go ahead (they are never
  // questions to the operator) and everything else gives up.
  return situation == situation::kCreate || situation == situation::kRebuild;
}

Fileblock* OpenFileblock(const std::string& name, const std::string& file_name, bool journal, bool shared,
                         bool variable_length, bool create_if_missing, int record_length, int key_count,
                         uint8_t* record_buffer, int buffer_size, KeyBuilder key_builder, int retry_count) {
  (void)journal;  // journal and shared mode are never used by this program
  (void)shared;
  auto& m = Manager();
  storage_detail::ResetErrors(nullptr);
  storage_detail::SetOperation(kOpOpen);
  int code = 0;
  if (!m.started) code = err::kNotStarted;
  else if (name.empty()) code = err::kNameEmpty;
  else if (FindOpenFileblock(name) != nullptr) code = err::kNameOpen;
  else if (file_name.empty()) code = err::kFileNameEmpty;
  else if (record_length <= 20) code = err::kRecordLengthSmall;
  else if (key_count < 0 || key_count > layout::kMaxKeys) code = err::kTooManyKeys;
  else if (key_count > 0 && !key_builder) code = err::kNoKeyBuilder;
  else if (!variable_length && record_length != buffer_size) code = err::kFixedBufferSize;
  else if (variable_length && record_length >= buffer_size) code = err::kVarBufferSize;
  storage_detail::ResetErrors(nullptr);  // FindOpenFileblock logged "not open"
  storage_detail::SetOperation(kOpOpen);
  if (code != 0) {
    LogError(code, nullptr);
    storage_detail::RunFatalHandlerIfNeeded();
    return nullptr;
  }
  auto* fb = new Fileblock();
  fb->m_name = name.substr(0, 40);
  fb->m_file_name = file_name;
  fb->m_record_length = record_length;
  fb->m_buffer_size = buffer_size;
  fb->m_variable = variable_length;
  fb->m_create = create_if_missing;
  fb->m_key_count = key_count;
  fb->m_keys.assign(static_cast<size_t>(key_count) + 1, Fileblock::KeyDef{});
  if (record_buffer) {
    fb->m_buffer = record_buffer;
  } else {
    fb->m_own_buffer.assign(static_cast<size_t>(buffer_size), 0);
    fb->m_buffer = fb->m_own_buffer.data();
  }
  fb->m_snapshot.assign(static_cast<size_t>(buffer_size), 0);
  fb->m_work.assign(static_cast<size_t>(buffer_size), 0);
  fb->m_key_builder = std::move(key_builder);
  fb->m_retry_count = retry_count;
  fb->m_lock_retry = m.default_lock_retry;

  // An empty data file is what a crash during its creation leaves: replace it
  // by the ".ALT" copy when there is one (its index is then rebuilt), or let
  // the first use create it anew. Errors here are ignored.
  StorageFileSystem& fs = TheStorageFileSystem();
  const std::string dat = FileblockPath(file_name, "DAT");
  if (fs.FileSize(dat) == 0) {
    fs.Remove(dat);
    const std::string alt = FileblockPath(file_name, "ALT");
    if (fs.FileSize(alt) >= 0 && fs.Rename(alt, dat)) fs.Remove(FileblockPath(file_name, "IX"));
  }
  m.open_fileblocks.push_back(fb);
  return fb;
}

void CloseFileblock(Fileblock* fb) {
  if (!fb) return;
  storage_detail::ResetErrors(fb);
  storage_detail::SetOperation(kOpClose);
  fb->CloseFiles();
  Manager().open_fileblocks.remove(fb);
  storage_detail::ForgetFiles(fb);
  delete fb;
  storage_detail::RunFatalHandlerIfNeeded();
}

Fileblock::~Fileblock() = default;

void Fileblock::DefineKey(int key_nr, int key_length, bool duplicates) {
  Run(kOpDefineKey, [&] {
    if (key_nr < 1 || key_nr > m_key_count) return (void)LogError(err::kDefineKeyNumber, this, 0, key_nr);
    if (key_length == 0) return (void)LogError(err::kDefineKeyZero, this, 0, key_nr);
    if (key_length < 0 || key_length > layout::kMaxKeyLength) {
      return (void)LogError(err::kDefineKeyLength, this, 0, key_nr);
    }
    KeyDef& k = m_keys[static_cast<size_t>(key_nr)];
    k.defined = true;
    k.length = key_length;
    k.duplicates = duplicates;
  });
}

void Fileblock::SetCounterField(int key_nr, int field_offset) {
  Run(kOpCounterField, [&] {
    if (key_nr < 1 || key_nr > m_key_count || !m_keys[static_cast<size_t>(key_nr)].defined) {
      return (void)LogError(err::kKeyUndefined, this, 0, key_nr);
    }
    if (field_offset < 0 || field_offset + 4 > m_buffer_size) {
      return (void)LogError(err::kCounterOutside, this, 0, key_nr);
    }
    // The key must end with the encoded field: try the smallest and the
    // largest value and put the buffer back afterwards.
    int32_t saved = GetI32(m_buffer, static_cast<size_t>(field_offset));
    bool ok = true;
    for (int32_t v : {0, INT32_MAX}) {
      PutI32(m_buffer, static_cast<size_t>(field_offset), v);
      std::string key = BuildKey(m_buffer, key_nr);
      std::string tail = NumberToKey(v);
      if (key.size() < tail.size() || key.compare(key.size() - tail.size(), tail.size(), tail) != 0) ok = false;
    }
    PutI32(m_buffer, static_cast<size_t>(field_offset), saved);
    if (!ok) return (void)LogError(err::kCounterKey, this, 0, key_nr);
    m_keys[static_cast<size_t>(key_nr)].counter_offset = field_offset;
  });
}

void Fileblock::SetLockRetryHandler(LockRetryHandler handler, int retry_count) {
  m_lock_retry = std::move(handler);
  m_retry_count = retry_count;
}

LockRetryHandler Fileblock::GetLockRetryHandler(int* retry_count) const {
  if (retry_count) *retry_count = m_retry_count;
  return m_lock_retry;
}

std::vector<KeySpec> Fileblock::KeySpecs() const {
  std::vector<KeySpec> specs;
  for (int k = 1; k <= m_key_count; ++k) specs.push_back(KeySpec{m_keys[k].length, m_keys[k].duplicates});
  return specs;
}

bool Fileblock::EnsureOpen() {
  if (m_data) {
    storage_detail::MarkFilesUsed(this);
    return true;
  }
  for (int k = 1; k <= m_key_count; ++k) {
    if (!m_keys[static_cast<size_t>(k)].defined) return LogError(err::kKeyUndefined, this, 30, k), false;
  }
  // This program never writes a journal; one left by another program of the
  // suite would have to be replayed first, which we do not do: refuse.
  if (FileExists(FileblockPath(m_file_name, "DIA"))) return LogError(err::kOsError, this, 31), false;
  if (!storage_detail::ReserveHandles(this)) return false;
  int repair = 0;
  if (!OpenFiles(&repair)) return false;
  if (repair != 0) {
    DropFiles();
    if (!AskHandler(situation::kRebuild)) return LogError(repair, this, 32), false;
    if (!Rebuild()) return false;
    if (!OpenFiles(&repair)) return false;
    if (repair != 0) {
      DropFiles();
      return LogError(repair, this, 33), false;
    }
  }
  storage_detail::MarkFilesUsed(this);
  return true;
}

bool Fileblock::Rebuild() {
  FileblockLayout layout;
  layout.name = m_name;
  layout.record_length = m_record_length;
  layout.variable_length = m_variable;
  layout.buffer_size = m_buffer_size;
  layout.keys = KeySpecs();
  layout.key_builder = m_key_builder;
  m_current = -1;
  return RebuildFileblock(layout, m_file_name, m_progress, this);
}

bool Fileblock::OpenFiles(int* repair) {
  *repair = 0;
  StorageFileSystem& fs = TheStorageFileSystem();
  const std::string dat = FileblockPath(m_file_name, "DAT");
  const std::string ix = FileblockPath(m_file_name, "IX");
  int os = 0;
  auto df = fs.Open(dat, OpenMode::kExisting, &os);
  if (!df && os == ENOENT && fs.FileSize(FileblockPath(m_file_name, "SAV")) >= 0) {
    // A reorganisation was interrupted after it had moved the data file away.
    *repair = err::kInterrupted;
    return true;
  }
  if (!df && os == ENOENT && m_create) {
    if (!AskHandler(situation::kCreate)) return LogError(err::kFileNotFound, this, 34, 0, 0, os), false;
    if (!CreateFiles()) return false;
    df = fs.Open(dat, OpenMode::kExisting, &os);
  }
  if (!df) return LogError(storage_detail::OpenErrorCode(os, false), this, 35, 0, 0, os), false;
  m_data = std::make_unique<DataFile>(std::move(df), this, m_record_length, m_variable);
  int code = m_data->Load();
  if (code == err::kRecordLengthDiffers || code == err::kIndexTooManyKeys || code == err::kOsError) {
    DropFiles();
    return LogError(code, this, 36), false;
  }
  if (code != 0) {
    *repair = err::kInterrupted;  // flag set, header not matching the file, or a cut header
    return true;
  }
  if (m_data->header().key_count != m_key_count) {
    *repair = err::kKeysDiffer;
    return true;
  }
  if (m_key_count == 0) return true;
  auto xf = fs.Open(ix, OpenMode::kExisting, &os);
  if (!xf && os == ENOENT) {
    *repair = err::kShortRead;  // the index was deleted after it was found damaged
    return true;
  }
  if (!xf) {
    DropFiles();
    return LogError(storage_detail::OpenErrorCode(os, false), this, 37, 0, 0, os), false;
  }
  m_index = std::make_unique<IndexFile>(std::move(xf), this);
  code = m_index->Load(m_key_count);
  if (code == err::kIndexTooManyKeys || code == err::kIndexKeyLength || code == err::kIndexCapacity ||
      code == err::kOsError) {
    DropFiles();
    return LogError(code, this, 38), false;
  }
  if (code != 0) {
    *repair = err::kIndexGeometry;
    return true;
  }
  for (int k = 1; k <= m_key_count; ++k) {
    const IndexHeader& h = m_index->header(k);
    if (h.key_length != m_keys[k].length || h.duplicates != m_keys[k].duplicates) {
      *repair = err::kKeysDiffer;
      return true;
    }
  }
  return true;
}

bool Fileblock::CreateFiles() {
  if (m_record_length < layout::kMinRecordLength) return LogError(err::kCreateRecordLength, this, 50), false;
  if (m_key_count > layout::kMaxKeys) return LogError(err::kCreateTooManyKeys, this, 51), false;
  for (int k = 1; k <= m_key_count; ++k) {
    if (m_keys[k].length < 1 || m_keys[k].length > layout::kMaxKeyLength) {
      return LogError(err::kCreateKeyLength, this, 52, k), false;
    }
  }
  auto write = [this](const std::string& path, const std::vector<uint8_t>& image) {
    int os = 0;
    auto f = TheStorageFileSystem().Open(path, OpenMode::kCreate, &os);
    if (!f) return LogError(storage_detail::OpenErrorCode(os, true), this, 53, 0, 0, os), false;
    int64_t w = f->WriteAt(0, image.data(), image.size());
    if (w != static_cast<int64_t>(image.size()) || !f->Sync()) {
      return LogError(err::kShortWrite, this, 54, 0, 0, f->os_error()), false;
    }
    return true;
  };
  // The index first: a data file without its index is rebuilt at the next
  // opening, an index without a data file is never looked at.
  if (m_key_count > 0 && !write(FileblockPath(m_file_name, "IX"), IndexFile::EmptyHeaderBlock(KeySpecs()))) {
    return false;
  }
  return write(FileblockPath(m_file_name, "DAT"), DataFile::EmptyImage(m_record_length, m_key_count));
}

void Fileblock::DropFiles() {
  m_index.reset();
  m_data.reset();
  m_walk = Walk{};  // its run belongs to the index dropped
  m_dirty = false;
  storage_detail::ForgetFiles(this);
}

bool Fileblock::FlushFiles() {
  if (!m_data || !m_dirty) return true;
  // Records, then the index, then the flag 0 that vouches for both: each
  // reaches the disk before the next is written.
  if (!m_data->Sync()) return false;
  if (m_index && !m_index->Flush(true)) return false;
  if (!m_data->Flush(true)) return false;
  m_dirty = false;
  return true;
}

bool Fileblock::CloseFiles() {
  if (!m_data) return true;
  bool ok = FlushFiles();
  DropFiles();
  return ok;
}

void Fileblock::Flush() {
  Run(kOpFlush, [&] { FlushFiles(); });
}

namespace {

bool ReadWhole(StorageFile& file, std::vector<uint8_t>* out) {
  const int64_t size = file.Size();
  if (size < 0) return false;
  out->resize(static_cast<size_t>(size));
  return file.ReadAt(0, out->data(), out->size()) == size;
}

}  // namespace

bool Fileblock::ReadFileImages(std::vector<uint8_t>* dat, std::vector<uint8_t>* ix) {
  bool read = false;
  Run(kOpFlush, [&] {
    if (!EnsureOpen() || !FlushFiles()) return;
    read = ReadWhole(m_data->file(), dat);
    if (m_index) {
      read = read && ReadWhole(m_index->file(), ix);
    } else {
      ix->clear();
    }
  });
  return read && StorageErrorClass() == 0;
}

void Fileblock::EraseFiles() {
  Run(kOpErase, [&] {
    DropFiles();  // the files go away: nothing of them needs writing
    StorageFileSystem& fs = TheStorageFileSystem();
    fs.Remove(FileblockPath(m_file_name, "IX"));
    fs.Remove(FileblockPath(m_file_name, "DIA"));
    fs.Remove(FileblockPath(m_file_name, "DAT"));
    m_current = -1;
    m_last_key_nr = 0;
  });
}

bool Fileblock::BeginChange() {
  // The flag 1 gets a sync of its own before the first change after a flush:
  // no record can reach the disk while the flag there still says 0.
  if (!m_data->MarkModified(true)) return false;
  m_dirty = true;
  return true;
}

bool Fileblock::DataWritten() {
  if (m_flush_after_write) return m_data->Sync();
  return m_bulk_load || m_data->WritePending();
}

void Fileblock::SetBulkLoad(bool on) {
  m_bulk_load = on;
  if (!on && m_data) m_data->WritePending();
}

}  // namespace kontura
