#include "storage/catalogue.h"

#include <array>
#include <filesystem>
#include <map>
#include <memory>
#include <system_error>
#include <vector>

#include "storage/known_fileblocks.h"
#include "storage/storage_error.h"

namespace kontura {
namespace {

struct Slot {
  Fileblock* handle = nullptr;
};

constexpr size_t kSlots = static_cast<size_t>(CatalogueId::kFhcall) + 1;
std::array<Slot, kSlots> g_slots;
std::string g_start_dir;
// The record buffers of the open fileblocks, by handle. Kept apart from the
// slots so that a buffer lives exactly as long as its fileblock, even if a
// slot is pointed at another fileblock of the same kind meanwhile.
std::map<Fileblock*, std::unique_ptr<uint8_t[]>> g_buffers;

Slot& SlotOf(CatalogueId id) { return g_slots[static_cast<size_t>(id)]; }

}  // namespace

const std::string& StartDir() {
  if (g_start_dir.empty()) SetStartDirFromCurrentDirectory();
  return g_start_dir;
}

void SetStartDirFromCurrentDirectory() {
  std::error_code ec;
  std::string dir = std::filesystem::current_path(ec).string();
  if (dir.empty() || dir.back() != '/') dir += '/';
  g_start_dir = dir;
}

bool OpenCatalogued(CatalogueId id, const std::string& file_name) {
  const CatalogueEntry& entry = CatalogueEntryOf(id);
  std::string name = file_name.empty() ? std::string(entry.file_name) : file_name;
  Slot& slot = SlotOf(id);

  if (Fileblock* open = FindOpenFileblock(name)) {
    ++open->use_count;
    slot.handle = open;
    return true;
  }

  auto buffer = std::make_unique<uint8_t[]>(static_cast<size_t>(entry.buffer_size));
  Fileblock* fb = OpenFileblock(name, StartDir() + name, false, false, entry.variable_length, true,
                                entry.record_length, static_cast<int>(entry.keys.size()), buffer.get(),
                                entry.buffer_size, entry.key_builder, 32);
  if (!fb) return false;
  for (size_t k = 0; k < entry.keys.size() && StorageErrorClass() == 0; ++k) {
    fb->DefineKey(static_cast<int>(k + 1), entry.keys[k].length, entry.keys[k].duplicates);
  }
  if (entry.counter_key > 0 && StorageErrorClass() == 0) {
    fb->SetCounterField(entry.counter_key, static_cast<int>(kCounterFieldOffset));
  }
  // A rebuild shows nothing while it runs.
  fb->SetProgressHandler([](const std::string&, int, int32_t, int32_t) {});
  if (entry.flush_after_write) fb->SetFlushAfterWrite(true);
  slot.handle = fb;
  g_buffers[fb] = std::move(buffer);
  return true;
}

void CloseCatalogued(CatalogueId id) {
  Slot& slot = SlotOf(id);
  if (!slot.handle) return;
  if (slot.handle->use_count > 0) {
    --slot.handle->use_count;
    return;
  }
  Fileblock* fb = slot.handle;
  slot.handle = nullptr;
  CloseFileblock(fb);
  g_buffers.erase(fb);
}

Fileblock* CatalogueHandle(CatalogueId id) { return SlotOf(id).handle; }

uint8_t* CatalogueRecord(CatalogueId id) {
  Slot& slot = SlotOf(id);
  return slot.handle ? slot.handle->RecordBuffer() : nullptr;
}

bool FirstRecordOrAddCleared(Fileblock* fb) {
  fb->First(1);
  if (StorageErrorClass() == 0) return true;
  fb->ClearBuffer();
  fb->AddRecord();
  return false;
}

void RegisterCatalogueFileblocks() {
  for (const CatalogueEntry& entry : CatalogueTable()) {
    KnownFileblock known;
    known.name = entry.file_name;
    if (entry.id == CatalogueId::kFhlk) known.name += "*";
    known.record_length = entry.record_length;
    known.variable = entry.variable_length;
    known.buffer_size = entry.buffer_size;
    for (const KeyDefinition& k : entry.keys) known.keys.push_back({k.length, k.duplicates});
    if (entry.counter_key > 0) known.counters.push_back({entry.counter_key, static_cast<int>(kCounterFieldOffset)});
    known.flush_after_write = entry.flush_after_write;
    known.key_builder = entry.key_builder;
    RegisterKnownFileblock(std::move(known));
  }
}

}  // namespace kontura
