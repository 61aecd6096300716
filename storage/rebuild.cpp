#include "storage/rebuild.h"

#include <algorithm>
#include <cerrno>
#include <climits>
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

// The old data file (B.DAT, or B.SAV of an interrupted run) and the index
// file, opened with the engine's exclusive locks before anything changes:
// a program that holds either of them refuses the rebuild while both files
// are still as they were.
struct HeldFiles {
  std::unique_ptr<StorageFile> data;
  std::unique_ptr<StorageFile> index;  // none when B.IX is missing
};

bool HoldFiles(const std::string& base, bool with_index, Fileblock* owner, HeldFiles* held) {
  StorageFileSystem& fs = TheStorageFileSystem();
  const std::string dat = FileblockPath(base, "DAT");
  const std::string data_path = fs.FileSize(dat) >= 0 ? dat : FileblockPath(base, "SAV");
  if (fs.FileSize(data_path) >= 0 && !(held->data = OpenExisting(data_path, owner))) return false;
  const std::string ix = FileblockPath(base, "IX");
  if (with_index && fs.FileSize(ix) >= 0 && !(held->index = OpenExisting(ix, owner))) return false;
  return true;
}

// Replaces the contents of a held file by image, synced.
bool Overwrite(StorageFile& f, const std::vector<uint8_t>& image, Fileblock* owner) {
  int64_t w = -1;
  if (f.Truncate(0)) w = f.WriteAt(0, image.data(), image.size());
  if (w != static_cast<int64_t>(image.size()) || !f.Sync()) {
    LogError(w >= 0 || f.os_error() == ENOSPC ? err::kShortWrite : err::kOsError, owner, 47, 0, 0, f.os_error());
    return false;
  }
  return true;
}

bool AllZero(const uint8_t* p, size_t n) {
  for (size_t k = 0; k < n; ++k) {
    if (p[k] != 0) return false;
  }
  return true;
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

  // Slots behind the highest slot number of a clean data header: no
  // completed write vouched for them, so they are not taken as records.
  void Beyond(int32_t slot_no, int32_t header_slots, const uint8_t* slot, size_t len) {
    Write("Ref: " + std::to_string(slot_no) + " beyond the data header's " + std::to_string(header_slots) +
              " slots, not copied\r\nData record deleted - Dump follows\r\n",
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
    if (len > 0) text.append(reinterpret_cast<const char*>(slot), len);
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
                     const std::string& dat, std::unique_ptr<StorageFile> old_file, MessageLog& msg) {
  if (!WriteNewFile(dat, DataFile::EmptyImage(layout.record_length, 0), owner)) return false;
  auto new_file = OpenExisting(dat, owner);
  if (!new_file) return false;
  DataFile out(std::move(new_file), owner, layout.record_length, layout.variable_length);
  if (out.Load() != 0 || !out.MarkModified(false)) return false;

  const int64_t size = old_file->Size();
  int32_t slots = static_cast<int32_t>(std::min<int64_t>(size / layout.record_length - 1, INT32_MAX));
  // A partial slot at the end is what a torn append leaves: it is not read.
  // A clean header (flag 0, counts that fit the file) says how many slots
  // hold records; under the flag 1 the header may be older than the slots
  // behind it, so the file is read to its end, but a slot there that is all
  // zero was never written (a later write extended the file past it).
  uint8_t head[layout::kDataHeaderBytes] = {};
  int32_t trusted = 0;     // slots the header counts
  bool clean = false;      // and vouches for: nothing behind them is a record
  if (old_file->ReadAt(0, head, sizeof head) == layout::kDataHeaderBytes) {
    const DataHeader h = DecodeDataHeader(head);
    if (h.slot_count >= 0 && h.slot_count <= slots) {
      trusted = h.slot_count;
      clean = h.modified == 0;
    }
  }
  // The old file is read through a DataFile whose header claims every slot
  // of the file, with an empty free chain: nothing else of the old header is
  // used.
  DataFile in(std::move(old_file), owner, layout.record_length, layout.variable_length);
  in.AssumeSlots(slots < 0 ? 0 : slots);
  std::vector<uint8_t> whole(static_cast<size_t>(layout.record_length));
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
    if (n > trusted) {
      int64_t got = in.file().ReadAt(static_cast<uint64_t>(n) * static_cast<uint64_t>(layout.record_length),
                                     whole.data(), whole.size());
      if (got == static_cast<int64_t>(whole.size()) && AllZero(whole.data(), whole.size())) continue;
      if (clean) {
        msg.Beyond(n, trusted, whole.data(), got > 0 ? static_cast<size_t>(got) : 0);
        continue;
      }
    }
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
                Fileblock* owner, HeldFiles& held, MessageLog& msg) {
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
  if (!held.data && !(held.data = OpenExisting(sav, owner))) return false;
  if (!CopyLiveRecords(layout, progress, owner, dat, std::move(held.data), msg)) {
    fs.Remove(dat);
    fs.Rename(sav, dat);
    return false;
  }
  fs.Remove(sav);
  return true;
}

// Step 2.
bool RebuildIndexes(const FileblockLayout& layout, const std::string& base, const ProgressHandler& progress,
                    Fileblock* owner, HeldFiles& held, MessageLog& msg) {
  const std::string dat = FileblockPath(base, "DAT");
  const std::string ix = FileblockPath(base, "IX");
  const std::vector<uint8_t> empty_index = IndexFile::EmptyHeaderBlock(layout.keys);
  if (held.index) {
    if (!Overwrite(*held.index, empty_index, owner)) return false;
  } else if (!WriteNewFile(ix, empty_index, owner) || !(held.index = OpenExisting(ix, owner))) {
    return false;
  }
  auto df = OpenExisting(dat, owner);
  if (!df) return false;
  DataFile data(std::move(df), owner, layout.record_length, layout.variable_length);
  int code = data.Load();
  if (code != 0 && code != err::kInterrupted) {
    LogError(code, owner, 45);
    return false;
  }
  IndexFile index(std::move(held.index), owner);
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
  HeldFiles held;
  if (!HoldFiles(base, !layout.keys.empty(), owner, &held)) return false;
  if (!Reorganise(layout, base, progress, owner, held, msg)) return false;
  if (layout.keys.empty()) {
    auto df = OpenExisting(FileblockPath(base, "DAT"), owner);
    if (!df) return false;
    DataFile data(std::move(df), owner, layout.record_length, layout.variable_length);
    data.Load();
    data.set_key_count(0);
    return data.Flush(true);
  }
  return RebuildIndexes(layout, base, progress, owner, held, msg);
}

}  // namespace kontura
