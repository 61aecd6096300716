// The record operations of a fileblock.

#include "storage/fileblock.h"

#include <algorithm>
#include <cstring>

#include "storage/key_encoding.h"
#include "storage/rebuild.h"
#include "storage/record_bytes.h"

namespace kontura {

using storage_detail::LogError;

std::string Fileblock::BuildKey(const uint8_t* record, int key_nr) {
  return CutKey(m_key_builder(record, key_nr), m_keys[static_cast<size_t>(key_nr)].length);
}

bool Fileblock::CheckKeyNr(int key_nr) {
  if (key_nr >= 1 && key_nr <= m_key_count) return true;
  LogError(err::kDefineKeyNumber, this, 60, key_nr);
  return false;
}

void Fileblock::ClearBuffer() { std::memset(m_buffer, 0, static_cast<size_t>(m_buffer_size)); }

std::string Fileblock::MakeKey(int key_nr) {
  std::string key;
  Run(kOpFind, [&] {
    if (CheckKeyNr(key_nr)) key = BuildKey(m_buffer, key_nr);
  });
  return key;
}

int32_t Fileblock::CurrentRef() { return StorageErrorClass() != 0 ? -1 : m_current; }

int32_t Fileblock::RecordCount() {
  int32_t n = -1;
  Run(kOpCount, [&] {
    if (!EnsureOpen()) return;
    if (!m_variable) {
      n = m_data->live_count();
      return;
    }
    // Continuation slots are neither live nor free: count the main slots.
    n = 0;
    for (int32_t s = 1; s <= m_data->header().slot_count; ++s) {
      int32_t status = 0;
      if (!m_data->ReadStatus(s, &status)) return;
      if (status == 0) ++n;
    }
  });
  return StorageErrorClass() == 0 ? n : -1;
}

int32_t Fileblock::KeyCount(int key_nr) {
  int32_t n = -1;
  Run(kOpCount, [&] {
    if (EnsureOpen() && CheckKeyNr(key_nr)) n = m_index->header(key_nr).entry_count;
  });
  return StorageErrorClass() == 0 ? n : -1;
}

bool Fileblock::ReadInto(int32_t ref, uint8_t* dst, bool* deleted) {
  return m_data->ReadRecord(ref, dst, static_cast<size_t>(m_buffer_size), deleted);
}

void Fileblock::MakeCurrent(int32_t ref, const uint8_t* record, int key_nr, const std::string* key) {
  if (record != m_buffer) std::memcpy(m_buffer, record, static_cast<size_t>(m_buffer_size));
  std::memcpy(m_snapshot.data(), record, static_cast<size_t>(m_buffer_size));
  m_current = ref;
  if (key_nr > 0) {
    m_last_key_nr = key_nr;
    m_last_key = key ? *key : BuildKey(m_snapshot.data(), key_nr);
    m_last_key_ref = ref;
  } else {
    m_last_key_ref = -1;  // the remembered key belongs to no current record now
  }
}

bool Fileblock::LoadEntry(int key_nr, const IndexEntry& e) {
  bool deleted = false;
  if (!ReadInto(e.ref, m_work.data(), &deleted)) return false;
  if (deleted) {
    // The index names a record that is not live: report it as deleted.
    LogError(err::kRecordDeleted, this, 61, key_nr, e.ref);
    return false;
  }
  MakeCurrent(e.ref, m_work.data(), key_nr, &e.key);
  return true;
}

void Fileblock::ReadByRef(int32_t ref) {
  Run(kOpReadByRef, [&] {
    if (!EnsureOpen()) return;
    bool deleted = false;
    if (!ReadInto(ref, m_work.data(), &deleted)) return;
    if (deleted) return (void)LogError(err::kRecordDeleted, this, 62, 0, ref);
    MakeCurrent(ref, m_work.data(), 0);
  });
}

void Fileblock::FindExact(int key_nr, const std::string& key) {
  Run(kOpFindExact, [&] {
    if (!EnsureOpen() || !CheckKeyNr(key_nr)) return;
    std::string k = CutKey(key, m_keys[key_nr].length);
    IndexEntry e;
    bool found = false;
    if (!m_index->Find(key_nr, Seek::kAtOrAfter, k, INT32_MIN, &e, &found)) return;
    if (!found || e.key != k) return (void)LogError(err::kNotFound, this, 63, key_nr);
    LoadEntry(key_nr, e);
  });
}

void Fileblock::FindAtLeast(int key_nr, const std::string& key) {
  Run(kOpFindAtLeast, [&] {
    if (!EnsureOpen() || !CheckKeyNr(key_nr)) return;
    IndexEntry e;
    bool found = false;
    if (!m_index->Find(key_nr, Seek::kAtOrAfter, key, INT32_MIN, &e, &found)) return;
    if (!found) return (void)LogError(err::kNoneAtOrAfter, this, 64, key_nr);
    LoadEntry(key_nr, e);
  });
}

void Fileblock::First(int key_nr) {
  Run(kOpFirst, [&] {
    if (!EnsureOpen() || !CheckKeyNr(key_nr)) return;
    IndexEntry e;
    bool found = false;
    if (!m_index->First(key_nr, &e, &found)) return;
    if (!found) return (void)LogError(err::kNoneAtOrAfter, this, 65, key_nr);
    LoadEntry(key_nr, e);
  });
}

void Fileblock::Last(int key_nr) {
  Run(kOpLast, [&] {
    if (!EnsureOpen() || !CheckKeyNr(key_nr)) return;
    IndexEntry e;
    bool found = false;
    if (!m_index->Last(key_nr, &e, &found)) return;
    if (!found) return (void)LogError(err::kNoPrev, this, 66, key_nr);
    LoadEntry(key_nr, e);
  });
}

bool Fileblock::StepFrom(int key_nr, bool forward, int code_at_end) {
  // Steps from the entry of the current record (its key, its number): this
  // stays right however other users of the fileblock moved in between. The
  // key is the one of the entry the record was reached through when that was
  // on this index, else the one built from the snapshot.
  IndexEntry e;
  bool found = false;
  const bool reached_here = m_last_key_nr == key_nr && m_last_key_ref == m_current && m_current >= 0;
  const std::string key = reached_here ? m_last_key : BuildKey(m_snapshot.data(), key_nr);
  Walk& w = m_walk;
  if (w.key_nr == key_nr && w.forward == forward && w.last_ref == m_current && m_current >= 0) {
    ++w.steps;
  } else {
    w.key_nr = key_nr;
    w.forward = forward;
    w.steps = 1;
    w.run.clear();
  }
  w.last_ref = -1;
  if (StepInRun(key, &e)) {
    found = true;
  } else if (!m_index->Find(key_nr, forward ? Seek::kAfter : Seek::kBefore, key, m_current, &e, &found)) {
    return false;
  }
  if (!found) return LogError(code_at_end, this, 67, key_nr, m_current), false;
  if (w.steps >= 2 && !m_data->ReadAheadHolds(e.ref)) ReadAheadFrom(e);
  w.last_ref = e.ref;
  return LoadEntry(key_nr, e);
}

bool Fileblock::StepInRun(const std::string& key, IndexEntry* e) {
  Walk& w = m_walk;
  if (w.pos + 1 >= w.run.size() || w.version != m_index->version() || w.run.refs[w.pos] != m_current ||
      w.run.key(w.pos) != key) {
    return false;
  }
  ++w.pos;
  e->ref = w.run.refs[w.pos];
  e->key = w.run.key(w.pos);
  return true;
}

void Fileblock::ReadAheadFrom(const IndexEntry& e) {
  Walk& w = m_walk;
  const size_t most = std::max(kReadAheadMin, kReadAheadBytes / static_cast<size_t>(m_record_length));
  const size_t count = std::clamp(2 * w.steps, kReadAheadMin, most);
  // Leaf pages hold a few dozen entries; the page cache keeps most of its
  // room for the pages it holds already.
  const size_t pages = std::max<size_t>(8, static_cast<size_t>(ThePageCache().capacity()) / 4);
  m_index->Collect(w.key_nr, w.forward, e.key, e.ref, count, pages, &w.run);
  w.pos = 0;
  w.version = m_index->version();
  m_data->ReadAhead(w.run.refs);
}

void Fileblock::Next(int key_nr) {
  Run(kOpNext, [&] {
    if (!EnsureOpen() || !CheckKeyNr(key_nr)) return;
    if (m_current < 0) return (void)LogError(err::kStepNoCurrent, this, 68, key_nr);
    StepFrom(key_nr, true, err::kNoNext);
  });
}

void Fileblock::Prev(int key_nr) {
  Run(kOpPrev, [&] {
    if (!EnsureOpen() || !CheckKeyNr(key_nr)) return;
    if (m_current < 0) return (void)LogError(err::kStepNoCurrent, this, 69, key_nr);
    StepFrom(key_nr, false, err::kNoPrev);
  });
}

bool Fileblock::StepByNumber(bool forward, int code_at_end) {
  // Record-number order over the live slots, from the current number.
  const int32_t last = m_data->header().slot_count;
  for (int32_t n = forward ? m_current + 1 : m_current - 1; n >= 1 && n <= last; n += forward ? 1 : -1) {
    bool deleted = false;
    if (!ReadInto(n, m_work.data(), &deleted)) return false;
    if (!deleted) {
      MakeCurrent(n, m_work.data(), 0);
      return true;
    }
  }
  return LogError(code_at_end, this, 70, 0, m_current), false;
}

bool Fileblock::FillCounters() {
  for (int k = 1; k <= m_key_count; ++k) {
    const KeyDef& d = m_keys[static_cast<size_t>(k)];
    if (d.counter_offset < 0) continue;
    // The last entry whose key starts with the record's key less its
    // counter part holds the highest number given so far.
    std::string key = BuildKey(m_buffer, k);
    std::string prefix = key.substr(0, key.size() >= 5 ? key.size() - 5 : 0);
    std::string probe = prefix + std::string(50 - prefix.size(), '\xFF');
    IndexEntry e;
    bool found = false;
    if (!m_index->Find(k, Seek::kAtOrBefore, probe, INT32_MAX, &e, &found)) return false;
    int64_t value = d.counter_start;
    if (found && e.key.size() >= prefix.size() + 5 && e.key.compare(0, prefix.size(), prefix) == 0) {
      value = std::max<int64_t>(d.counter_start, static_cast<int64_t>(KeyToNumber(e.key)) + d.counter_increment);
    }
    if (value > INT32_MAX) return LogError(err::kCounterOverflow, this, 71, k), false;
    PutI32(m_buffer, static_cast<size_t>(d.counter_offset), static_cast<int32_t>(value));
  }
  return true;
}

bool Fileblock::UniqueKeyTaken(const uint8_t* record, int32_t own_ref, int* key_nr) {
  for (int k = 1; k <= m_key_count; ++k) {
    if (m_keys[static_cast<size_t>(k)].duplicates) continue;
    std::string key = BuildKey(record, k);
    IndexEntry e;
    bool found = false;
    if (!m_index->Find(k, Seek::kAtOrAfter, key, INT32_MIN, &e, &found)) return false;
    if (found && e.key == key && e.ref != own_ref) {
      *key_nr = k;
      return true;
    }
  }
  return false;
}

bool Fileblock::RemoveKeys(const uint8_t* record, int32_t ref, int upto) {
  for (int k = 1; k <= upto; ++k) {
    bool missing = false;
    if (!m_index->Remove(k, BuildKey(record, k), ref, &missing)) return false;
  }
  return true;
}

void Fileblock::AddRecord() {
  Run(kOpAdd, [&] {
    if (!EnsureOpen()) return;
    if (GetI32(m_buffer, 0) != 0) return (void)LogError(err::kAddNotLive, this, 72);
    if (m_key_count > 0 && !FillCounters()) return;
    // A key that a unique index already holds refuses the add before
    // anything is written, so a failed add leaves no trace in the files.
    int taken = 0;
    int errors = StorageErrorCount();
    if (m_key_count > 0 && UniqueKeyTaken(m_buffer, -1, &taken)) {
      return (void)LogError(err::kKeyPresent, this, 73, taken);
    }
    if (StorageErrorCount() != errors || !BeginChange()) return;
    int32_t n = 0;
    if (!m_data->AddRecord(m_buffer, static_cast<size_t>(m_buffer_size), &n, m_flush_after_write) ||
        !DataWritten()) {
      return;
    }
    for (int k = 1; k <= m_key_count; ++k) {
      bool dup = false;
      if (!m_index->Insert(k, BuildKey(m_buffer, k), n, &dup)) return;
      if (dup) {
        LogError(err::kKeyPresent, this, 74, k, n);
        // The slot is already on the disk: it must be freed there as well.
        if (RemoveKeys(m_buffer, n, k - 1) && m_data->DeleteRecord(n)) DataWritten();
        return;
      }
    }
    MakeCurrent(n, m_buffer, 0);
  });
}

void Fileblock::UpdateRecord() {
  Run(kOpUpdate, [&] {
    if (!EnsureOpen()) return;
    if (m_current < 0) return (void)LogError(err::kUpdateNoCurrent, this, 75);
    if (GetI32(m_buffer, 0) != 0) return (void)LogError(err::kUpdateNotLive, this, 76);
    const size_t size = static_cast<size_t>(m_buffer_size);
    if (std::memcmp(m_buffer, m_snapshot.data(), size) == 0) return;
    // The record on disk must still be the one read.
    bool deleted = false;
    if (!ReadInto(m_current, m_work.data(), &deleted)) return;
    if (deleted) return (void)LogError(err::kRecordDeleted, this, 77, 0, m_current);
    if (std::memcmp(m_work.data(), m_snapshot.data(), size) != 0) {
      return (void)LogError(err::kRecordChanged, this, 78, 0, m_current);
    }
    int taken = 0;
    int errors = StorageErrorCount();
    if (m_key_count > 0 && UniqueKeyTaken(m_buffer, m_current, &taken)) {
      return (void)LogError(err::kKeyPresent, this, 79, taken, m_current);
    }
    if (StorageErrorCount() != errors || !BeginChange()) return;
    if (!m_data->RewriteRecord(m_current, m_buffer, size) || !DataWritten()) return;
    for (int k = 1; k <= m_key_count; ++k) {
      std::string new_key = BuildKey(m_buffer, k);
      std::string old_key = BuildKey(m_snapshot.data(), k);
      if (new_key == old_key) continue;
      bool dup = false, missing = false;
      if (!m_index->Insert(k, new_key, m_current, &dup)) return;
      if (dup) return (void)LogError(err::kKeyPresent, this, 80, k, m_current);
      if (!m_index->Remove(k, old_key, m_current, &missing)) return;
    }
    std::memcpy(m_snapshot.data(), m_buffer, size);
    m_last_key_ref = -1;  // the record's keys may have changed
  });
}

void Fileblock::DeleteRecord(int after) {
  Run(kOpDelete, [&] {
    if (!EnsureOpen()) return;
    if (m_current < 0) return (void)LogError(err::kDeleteNoCurrent, this, 81);
    const size_t size = static_cast<size_t>(m_buffer_size);
    if (std::memcmp(m_buffer, m_snapshot.data(), size) != 0) return (void)LogError(err::kDeleteChanged, this, 82);
    if (!BeginChange() || !m_data->DeleteRecord(m_current) || !DataWritten()) return;
    for (int k = 1; k <= m_key_count; ++k) {
      bool missing = false;  // a missing key is tolerated
      if (!m_index->Remove(k, BuildKey(m_snapshot.data(), k), m_current, &missing)) return;
    }
    // Positioning relative to the deleted record; its key is still in the
    // snapshot.
    const int k = m_last_key_nr;
    bool ok = false;
    IndexEntry e;
    bool found = false;
    switch (after) {
      case kAfterLast:
        if (k > 0) {
          if (m_index->Last(k, &e, &found) && !found) LogError(err::kNoPrev, this, 83, k);
          ok = found && LoadEntry(k, e);
        } else {
          m_current = m_data->header().slot_count + 1;
          ok = StepByNumber(false, err::kNoPrev);
        }
        break;
      case kAfterFirst:
        if (k > 0) {
          if (m_index->First(k, &e, &found) && !found) LogError(err::kNoneAtOrAfter, this, 84, k);
          ok = found && LoadEntry(k, e);
        } else {
          m_current = 0;
          ok = StepByNumber(true, err::kNoNext);
        }
        break;
      case kAfterNext:
      case kAfterPrev:
        if (k > 0) {
          ok = StepFrom(k, after == kAfterNext, after == kAfterNext ? err::kNoNext : err::kNoPrev);
        } else {
          ok = StepByNumber(after == kAfterNext, after == kAfterNext ? err::kNoNext : err::kNoPrev);
        }
        break;
      default:
        break;
    }
    if (!ok) m_current = -1;
  });
}

Position Fileblock::GetPosition(int key_nr) {
  Position p;
  Run(kOpPosition, [&] {
    if (!CheckKeyNr(key_nr)) return;
    p.key_nr = key_nr;
    p.ref = m_current;
    p.fileblock = this;
    if (m_current >= 0) p.key = BuildKey(m_snapshot.data(), key_nr);
  });
  return p;
}

void Fileblock::SetPosition(const Position& pos, int mode) {
  Run(kOpPosition, [&] {
    const int k = pos.key_nr;
    if (!EnsureOpen() || !CheckKeyNr(k)) return;
    IndexEntry e;
    bool found = false;
    if (mode == kPosExact) {
      if (!m_index->Find(k, Seek::kAtOrAfter, pos.key, pos.ref, &e, &found)) return;
      if (!found || e.key != pos.key || e.ref != pos.ref) return (void)LogError(err::kNotFound, this, 85, k);
      LoadEntry(k, e);
      return;
    }
    bool forward = mode == kPosForward || mode == kPosForwardOnly;
    bool fallback = mode == kPosForward || mode == kPosBackward;
    for (int round = 0; round < (fallback ? 2 : 1); ++round, forward = !forward) {
      if (!m_index->Find(k, forward ? Seek::kAtOrAfter : Seek::kAtOrBefore, pos.key, pos.ref, &e, &found)) return;
      if (found) {
        LoadEntry(k, e);
        return;
      }
    }
    bool first_forward = mode == kPosForward || mode == kPosForwardOnly;
    LogError(first_forward ? err::kNoneAtOrAfter : err::kNoPrev, this, 86, k);
  });
}

int32_t Fileblock::ApproxPosition(int key_nr, const std::string& key, int32_t ref, int32_t scale) {
  int32_t pos = 0;
  Run(kOpApprox, [&] {
    if (!EnsureOpen() || !CheckKeyNr(key_nr)) return;
    if (scale <= 0) return (void)LogError(err::kPositionScale, this, 87, key_nr);
    if (m_index->header(key_nr).root == 0) return (void)LogError(err::kPositionEmpty, this, 88, key_nr);
    m_index->Approx(key_nr, CutKey(key, m_keys[key_nr].length), ref, scale, &pos);
  });
  return pos;
}

int32_t Fileblock::FindByApproxPosition(int key_nr, int32_t position, int32_t scale, std::string* key) {
  int32_t ref = -1;
  Run(kOpApprox, [&] {
    if (!EnsureOpen() || !CheckKeyNr(key_nr)) return;
    if (scale <= 0 || position < 0 || position > scale) {
      return (void)LogError(err::kApproxScale, this, 89, key_nr);
    }
    if (m_index->header(key_nr).root == 0) return (void)LogError(err::kApproxEmpty, this, 90, key_nr);
    IndexEntry e;
    if (!m_index->EntryAtApprox(key_nr, position, scale, &e)) return;
    ref = e.ref;
    if (key) *key = e.key;
  });
  return ref;
}

}  // namespace kontura
