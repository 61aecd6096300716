#include "storage/catalogue.h"

#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <system_error>
#include <vector>

#include "storage/storage_error.h"

namespace kontura {
namespace {

struct Slot {
  Fileblock* handle = nullptr;
};

std::array<Slot, kCatalogueSize> g_slots;
std::span<const FileblockLayout> g_table;
std::string g_start_dir;
// The record buffers of the open fileblocks, by handle. Kept apart from the
// slots so that a buffer lives exactly as long as its fileblock, even if a
// slot is pointed at another fileblock of the same kind meanwhile.
std::map<Fileblock*, std::unique_ptr<uint8_t[]>> g_buffers;

Slot& SlotOf(CatalogueId id) { return g_slots[static_cast<size_t>(id)]; }

}  // namespace

void InstallCatalogue(std::span<const FileblockLayout> table) { g_table = table; }

std::span<const FileblockLayout> InstalledCatalogue() { return g_table; }

const FileblockLayout& CatalogueLayout(CatalogueId id) {
  if (g_table.size() != kCatalogueSize) {
    // A programming error, not a file problem: nothing can be opened.
    std::fputs("kontura: no fileblock catalogue installed\n", stderr);
    std::abort();
  }
  return g_table[static_cast<size_t>(id)];
}

const FileblockLayout* FindCatalogueLayout(const std::string& path) { return FindLayout(g_table, path); }

std::optional<CatalogueId> CatalogueIdOf(const FileblockLayout& layout) {
  for (size_t i = 0; i < g_table.size(); ++i) {
    if (&g_table[i] == &layout) return static_cast<CatalogueId>(i);
  }
  return std::nullopt;
}

std::string FhlkFileName(int32_t contest_number) {
  char digits[16];
  std::snprintf(digits, sizeof digits, "%04d", static_cast<int>(contest_number));
  return CatalogueLayout(CatalogueId::kFhlk).name + digits;
}

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
  const FileblockLayout& layout = CatalogueLayout(id);
  std::string name = file_name.empty() ? layout.name : file_name;
  Slot& slot = SlotOf(id);

  if (Fileblock* open = FindOpenFileblock(name)) {
    ++open->use_count;
    slot.handle = open;
    return true;
  }

  auto buffer = std::make_unique<uint8_t[]>(static_cast<size_t>(layout.BufferSize()));
  Fileblock* fb = OpenFileblock(name, StartDir() + name, false, false, layout.variable_length, true,
                                layout.record_length, static_cast<int>(layout.keys.size()), buffer.get(),
                                layout.BufferSize(), layout.key_builder, 32);
  if (!fb) return false;
  for (size_t k = 0; k < layout.keys.size() && StorageErrorClass() == 0; ++k) {
    fb->DefineKey(static_cast<int>(k + 1), layout.keys[k].length, layout.keys[k].duplicates);
  }
  if (layout.counter_key > 0 && StorageErrorClass() == 0) {
    fb->SetCounterField(layout.counter_key, static_cast<int>(kCounterFieldOffset));
  }
  // A rebuild shows nothing while it runs.
  fb->SetProgressHandler([](const std::string&, int, int32_t, int32_t) {});
  if (layout.flush_after_write) fb->SetFlushAfterWrite(true);
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

}  // namespace kontura
