#pragma once
// An in-memory file system for power-loss tests. For every file it keeps the
// bytes the disk holds for sure (as of the file's last sync) and the writes
// made since. At a chosen moment it "cuts the power": it produces the files
// as a disk could have left them, that is the synced bytes plus any subset of
// the unsynced writes, applied in their order and decided per 512-byte
// sector (a sector keeps either its old or its new bytes; a write past the
// end that lands leaves zeros before it where nothing landed). The subset is
// drawn from a seeded generator, so every cut can be replayed.
//
// Events are the writes and the syncs, counted from 0. With cut_before = e
// the power fails just before event e; CutNow() cuts at once. After the cut
// the running program goes on against the files as it sees them, but nothing
// of it reaches the image any more, as on a machine that has gone dark.
//
// Creating, renaming, removing and shortening a file reach the disk at once
// (the file system journals its metadata); only the contents wait for a sync.

#include <cerrno>
#include <cstring>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "storage/file_system.h"

namespace kontura::testing {

class PowerCutFileSystem : public StorageFileSystem {
 public:
  using Bytes = std::vector<uint8_t>;
  static constexpr uint64_t kSector = 512;

  PowerCutFileSystem(int64_t cut_before, unsigned seed) : m_cut_before(cut_before), m_rng(seed) {}

  // A file that is on the disk before the run.
  void Put(const std::string& path, const Bytes& bytes) {
    auto node = std::make_shared<Node>();
    node->current = node->synced = bytes;
    m_files[path] = node;
  }

  void CutNow() {
    if (m_cut) return;
    m_cut = true;
    for (const auto& [path, node] : m_files) m_image[path] = Landed(*node);
  }

  bool cut() const { return m_cut; }
  // The files as the disk holds them after the cut.
  const std::map<std::string, Bytes>& image() const { return m_image; }
  int64_t events() const { return m_events; }
  int64_t syncs() const { return m_syncs; }
  // For each sync, the number of the event after it: cutting there loses
  // nothing that sync covered.
  const std::vector<int64_t>& after_syncs() const { return m_after_syncs; }

  std::unique_ptr<StorageFile> Open(const std::string& path, OpenMode mode, int* os_error) override {
    if (mode == OpenMode::kCreate) {
      auto node = std::make_shared<Node>();
      m_files[path] = node;
      return std::make_unique<File>(this, node);
    }
    auto it = m_files.find(path);
    if (it == m_files.end()) {
      *os_error = ENOENT;
      return nullptr;
    }
    return std::make_unique<File>(this, it->second);
  }
  int64_t FileSize(const std::string& path) override {
    auto it = m_files.find(path);
    return it == m_files.end() ? -1 : static_cast<int64_t>(it->second->current.size());
  }
  bool Remove(const std::string& path) override {
    return m_files.erase(path) > 0;
  }
  bool Rename(const std::string& from, const std::string& to) override {
    auto it = m_files.find(from);
    if (it == m_files.end()) return false;
    auto node = it->second;
    m_files.erase(it);
    m_files[to] = node;
    return true;
  }

 private:
  struct Write {
    uint64_t off;
    Bytes bytes;
  };
  struct Node {
    Bytes current;               // what the running program reads
    Bytes synced;                // what the disk holds for sure
    std::vector<Write> pending;  // written since the last sync, in order
  };

  // Starts an event; false once the power is off.
  bool Event() {
    if (!m_cut && m_events == m_cut_before) CutNow();
    ++m_events;
    return !m_cut;
  }

  Bytes Landed(const Node& node) {
    Bytes b = node.synced;
    for (const Write& w : node.pending) {
      const uint64_t end = w.off + w.bytes.size();
      for (uint64_t from = w.off; from < end;) {
        uint64_t to = std::min(end, (from / kSector + 1) * kSector);
        if (m_rng() & 1) {
          if (b.size() < to) b.resize(to, 0);
          std::memcpy(b.data() + from, w.bytes.data() + (from - w.off), to - from);
        }
        from = to;
      }
    }
    return b;
  }

  class File : public StorageFile {
   public:
    File(PowerCutFileSystem* fs, std::shared_ptr<Node> node) : m_fs(fs), m_node(std::move(node)) {}
    int64_t ReadAt(uint64_t off, void* buf, size_t n) override {
      const Bytes& b = m_node->current;
      if (off >= b.size()) return 0;
      size_t k = std::min(n, static_cast<size_t>(b.size() - off));
      std::memcpy(buf, b.data() + off, k);
      return static_cast<int64_t>(k);
    }
    int64_t WriteAt(uint64_t off, const void* buf, size_t n) override {
      Bytes& b = m_node->current;
      if (b.size() < off + n) b.resize(off + n, 0);
      std::memcpy(b.data() + off, buf, n);
      if (m_fs->Event()) {
        const auto* p = static_cast<const uint8_t*>(buf);
        m_node->pending.push_back(Write{off, Bytes(p, p + n)});
      }
      return static_cast<int64_t>(n);
    }
    int64_t Size() override { return static_cast<int64_t>(m_node->current.size()); }
    bool Truncate(uint64_t size) override {
      // Like creating a file, shortening one reaches the disk at once; the
      // unsynced writes lose what lay behind the new end.
      Node& node = *m_node;
      node.current.resize(size);
      if (node.synced.size() > size) node.synced.resize(size);
      for (Write& w : node.pending) {
        if (w.off >= size) w.bytes.clear();
        else if (w.off + w.bytes.size() > size) w.bytes.resize(size - w.off);
      }
      return true;
    }
    bool Sync() override {
      if (m_fs->Event()) {
        ++m_fs->m_syncs;
        m_node->synced = m_node->current;
        m_node->pending.clear();
        m_fs->m_after_syncs.push_back(m_fs->m_events);
      }
      return true;
    }
    int os_error() const override { return 0; }

   private:
    PowerCutFileSystem* m_fs;
    std::shared_ptr<Node> m_node;
  };

  int64_t m_cut_before;
  std::mt19937 m_rng;
  bool m_cut = false;
  int64_t m_events = 0;
  int64_t m_syncs = 0;
  std::vector<int64_t> m_after_syncs;
  std::map<std::string, std::shared_ptr<Node>> m_files;
  std::map<std::string, Bytes> m_image;
};

}  // namespace kontura::testing
