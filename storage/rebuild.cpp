#include "storage/rebuild.h"

#include <cerrno>
#include <cstring>

#include "storage/data_file.h"
#include "storage/file_layout.h"
#include "storage/file_manager.h"
#include "storage/record_bytes.h"
#include "storage/storage_error.h"

namespace kontura {

using storage_detail::LogError;

std::string CutKey(std::string key, int key_length) {
  if (key.size() > static_cast<size_t>(layout::kMaxKeyLength)) key.resize(layout::kMaxKeyLength);
  if (key.size() > static_cast<size_t>(key_length)) key.resize(static_cast<size_t>(key_length));
  return key;
}

namespace {

bool WriteNewFile(const std::string& path, const std::vector<uint8_t>& image, Fileblock* owner) {
  int os = 0;
  auto f = TheStorageFileSystem().Open(path, OpenMode::kCreate, &os);
  if (!f) {
    LogError(storage_detail::OpenErrorCode(os, true), owner, 40, 0, 0, os);
    return false;
  }
  int64_t w = f->WriteAt(0, image.data(), image.size());
  if (w != static_cast<int64_t>(image.size()) || !f->Sync()) {
    LogError(w >= 0 || f->os_error() == ENOSPC ? err::kShortWrite : err::kOsError, owner, 41, 0, 0, f->os_error());
    return false;
  }
  return true;
}

std::unique_ptr<StorageFile> OpenExisting(const std::string& path, Fileblock* owner) {
  int os = 0;
  auto f = TheStorageFileSystem().Open(path, OpenMode::kExisting, &os);
  if (!f) LogError(storage_detail::OpenErrorCode(os, false), owner, 42, 0, 0, os);
  return f;
}

class MessageLog {
 public:
  explicit MessageLog(std::string path) : m_path(std::move(path)) {}
  // A record whose key collided in an index without duplicates.
  void Collision(const std::string& key, int key_nr, int32_t ref, const uint8_t* slot, size_t len) {
    Write("Key:<" + key + "> KeyNr: " + std::to_string(key_nr) + " Ref: " + std::to_string(ref) +
              " not added\r\nData record deleted - Dump follows\r\n",
          slot, len);
  }

  // A record whose continuation chain is damaged: it cannot be copied whole,
  // so its main slot is dumped here instead of being dropped silently.
  void Unreadable(int32_t slot_no, const uint8_t* slot, size_t len) {
    Write("Ref: " + std::to_string(slot_no) + " continuation chain damaged, not copied\r\n"
              "Data record deleted - Dump follows\r\n",
          slot, len);
  }

 private:
  void Write(std::string text, const uint8_t* slot, size_t len) {
    if (!m_file) {
      int os = 0;
      m_file = TheStorageFileSystem().Open(m_path, OpenMode::kCreate, &os);
    }
    if (!m_file) return;  // the log is best effort: the rebuild goes on
    text.append(reinterpret_cast<const char*>(slot), len);
    text += "\r\n";
    m_file->WriteAt(m_size, text.data(), text.size());
    m_size += text.size();
  }

  std::string m_path;
  std::unique_ptr<StorageFile> m_file;
  uint64_t m_size = 0;
};

// Step 1. Copies the live records of B.SAV into a new B.DAT.
bool CopyLiveRecords(const FileblockLayout& layout, const ProgressHandler& progress, Fileblock* owner,
                     const std::string& dat, const std::string& sav,
                     MessageLog& msg) {
  auto old_file = OpenExisting(sav, owner);
  if (!old_file) return false;
  if (!WriteNewFile(dat, DataFile::EmptyImage(layout.record_length, 0), owner)) return false;
  auto new_file = OpenExisting(dat, owner);
  if (!new_file) return false;
  DataFile out(std::move(new_file), owner, layout.record_length, layout.variable_length);
  if (out.Load() != 0 || !out.MarkModified(false)) return false;

  const int64_t size = old_file->Size();
  const int32_t slots = static_cast<int32_t>(size / layout.record_length - 1);
  // The old file is read through a DataFile whose header claims every slot
  // of the file, with an empty free chain: nothing of the old header is used.
  DataFile in(std::move(old_file), owner, layout.record_length, layout.variable_length);
  in.AssumeSlots(slots < 0 ? 0 : slots);
  std::vector<uint8_t> rec(static_cast<size_t>(layout.BufferSize()));
  int32_t read = 0;
  for (int32_t n = 1; n <= slots; ++n) {
    int32_t status = 0;
    uint8_t raw[4];
    int64_t r = in.file().ReadAt(static_cast<uint64_t>(n) * static_cast<uint64_t>(layout.record_length), raw, 4);
    if (r != 4) break;
    status = GetI32(raw, 0);
    if (status != 0) continue;  // free slot or continuation slot
    bool deleted = false;
    int saved_errors = StorageErrorCount();
    if (!in.ReadRecord(n, rec.data(), rec.size(), &deleted)) {
      // A record whose continuation chain is damaged cannot be recovered
      // whole; it is reported and left out rather than stopping the rebuild.
      storage_detail::ResetErrorsTo(saved_errors);
      std::vector<uint8_t> main_slot(static_cast<size_t>(layout.record_length));
      int64_t got = in.file().ReadAt(static_cast<uint64_t>(n) * static_cast<uint64_t>(layout.record_length),
                                     main_slot.data(), main_slot.size());
      msg.Unreadable(n, main_slot.data(), got > 0 ? static_cast<size_t>(got) : 0);
      continue;
    }
    if (deleted) continue;
    int32_t new_no = 0;
    if (!out.AddRecord(rec.data(), rec.size(), &new_no)) return false;
    ++read;
    if (progress) progress(layout.name, 0, read, 0);
  }
  out.set_key_count(static_cast<int>(layout.keys.size()));
  // The flag stays set until the indexes are rebuilt as well.
  return out.WriteHeader(true);
}

bool Reorganise(const FileblockLayout& layout, const std::string& base, const ProgressHandler& progress,
                Fileblock* owner, MessageLog& msg) {
  StorageFileSystem& fs = TheStorageFileSystem();
  const std::string dat = FileblockPath(base, "DAT");
  const std::string sav = FileblockPath(base, "SAV");
  bool have_dat = fs.FileSize(dat) >= 0;
  bool have_sav = fs.FileSize(sav) >= 0;
  if (have_dat && have_sav) {
    LogError(err::kSavBesideDat, owner, 43);
    return false;
  }
  if (have_dat && !fs.Rename(dat, sav)) {
    LogError(err::kOsError, owner, 44, 0, 0, errno);
    return false;
  }
  if (!have_dat && !have_sav) {
    return WriteNewFile(dat, DataFile::EmptyImage(layout.record_length, static_cast<int>(layout.keys.size())), owner);
  }
  if (!CopyLiveRecords(layout, progress, owner, dat, sav, msg)) {
    fs.Remove(dat);
    fs.Rename(sav, dat);
    return false;
  }
  fs.Remove(sav);
  return true;
}

// Step 2.
bool RebuildIndexes(const FileblockLayout& layout, const std::string& base, const ProgressHandler& progress,
                    Fileblock* owner, MessageLog& msg) {
  const std::string dat = FileblockPath(base, "DAT");
  const std::string ix = FileblockPath(base, "IX");
  if (!WriteNewFile(ix, IndexFile::EmptyHeaderBlock(layout.keys), owner)) return false;
  auto df = OpenExisting(dat, owner);
  if (!df) return false;
  DataFile data(std::move(df), owner, layout.record_length, layout.variable_length);
  int code = data.Load();
  if (code != 0 && code != err::kInterrupted) {
    LogError(code, owner, 45);
    return false;
  }
  auto xf = OpenExisting(ix, owner);
  if (!xf) return false;
  IndexFile index(std::move(xf), owner);
  if (index.Load(static_cast<int>(layout.keys.size())) != 0) {
    LogError(err::kIndexGeometry, owner, 46);
    return false;
  }
  std::vector<uint8_t> rec(static_cast<size_t>(layout.BufferSize()));
  std::vector<uint8_t> slot(static_cast<size_t>(layout.record_length));
  const int k = static_cast<int>(layout.keys.size());
  for (int i = 1; i <= k; ++i) {
    int32_t read = 0, added = 0;
    for (int32_t n = 1; n <= data.header().slot_count; ++n) {
      bool deleted = false;
      if (!data.ReadRecord(n, rec.data(), rec.size(), &deleted)) return false;
      if (deleted) continue;
      ++read;
      std::string key = CutKey(layout.key_builder(rec.data(), i), layout.keys[i - 1].length);
      bool dup = false;
      if (!index.Insert(i, key, n, &dup)) return false;
      if (dup) {
        int64_t r = data.file().ReadAt(static_cast<uint64_t>(n) * static_cast<uint64_t>(layout.record_length),
                                       slot.data(), slot.size());
        msg.Collision(key, i, n, slot.data(), r > 0 ? static_cast<size_t>(r) : 0);
        for (int j = 1; j < i; ++j) {
          bool missing = false;
          if (!index.Remove(j, CutKey(layout.key_builder(rec.data(), j), layout.keys[j - 1].length), n, &missing)) {
            return false;
          }
        }
        if (!data.DeleteRecord(n)) return false;
        continue;
      }
      ++added;
      if (progress) progress(layout.name, i, read, added);
    }
  }
  if (!index.Flush(true)) return false;
  data.set_key_count(k);
  return data.Flush(true);
}

}  // namespace

bool RebuildFileblock(const FileblockLayout& layout, const std::string& base, const ProgressHandler& progress,
                      Fileblock* owner) {
  // Created anew on the first line to report; a rebuild without anything to
  // report leaves an older log alone.
  MessageLog msg(FileblockPath(base, "MSG"));
  if (!Reorganise(layout, base, progress, owner, msg)) return false;
  if (layout.keys.empty()) {
    auto df = OpenExisting(FileblockPath(base, "DAT"), owner);
    if (!df) return false;
    DataFile data(std::move(df), owner, layout.record_length, layout.variable_length);
    data.Load();
    data.set_key_count(0);
    return data.Flush(true);
  }
  return RebuildIndexes(layout, base, progress, owner, msg);
}

}  // namespace kontura
