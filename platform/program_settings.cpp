#include "platform/program_settings.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <system_error>

namespace kontura {

namespace {

// A number within [low, high]; otherwise the default stays.
void ReadInt(const std::string& text, int low, int high, int* value) {
  char* end = nullptr;
  const long v = std::strtol(text.c_str(), &end, 10);
  if (!text.empty() && *end == '\0' && v >= low && v <= high) *value = static_cast<int>(v);
}

}  // namespace

std::string ProgramSettingsPath() {
  const char* config = std::getenv("XDG_CONFIG_HOME");
  std::string dir;
  if (config && *config == '/') {
    dir = config;
  } else {
    const char* home = std::getenv("HOME");
    dir = std::string(home ? home : ".") + "/.config";
  }
  return dir + "/kontura/kontura.conf";
}

ProgramSettings LoadProgramSettings(const std::string& path) {
  ProgramSettings s;
  std::ifstream in(path);
  std::string line;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#') continue;
    const size_t eq = line.find('=');
    if (eq == std::string::npos) continue;
    const std::string key = line.substr(0, eq), value = line.substr(eq + 1);
    if (key == "backup_dir") {
      if (!value.empty()) s.backup_dir = value;
    } else if (key == "backup_every") {
      ReadInt(value, 1, 100000, &s.backup_every);
    } else if (key == "backup_keep") {
      ReadInt(value, 1, 1000, &s.backup_keep);
    } else if (key == "rig_kind") {
      if (value == "none" || value == "direct" || value == "network") s.rig_kind = value;
    } else if (key == "rig_model") {
      ReadInt(value, 0, 99999999, &s.rig_model);
    } else if (key == "rig_device") {
      s.rig_device = value;
    } else if (key == "rig_speed") {
      ReadInt(value, 0, 10000000, &s.rig_speed);
    } else if (key == "rig_address") {
      if (!value.empty()) s.rig_address = value;
    } else if (key == "rig_poll_ms") {
      ReadInt(value, 1, 3600000, &s.rig_poll_ms);  // the rig settings hold it to their limits
    } else {
      s.others[key] = value;
    }
  }
  return s;
}

bool SaveProgramSettings(const std::string& path, const ProgramSettings& settings) {
  std::error_code ec;
  std::filesystem::create_directories(std::filesystem::path(path).parent_path(), ec);
  const std::string tmp = path + ".tmp";
  {
    std::ofstream out(tmp, std::ios::trunc);
    out << "# Kontura: Einstellungen des Programms\n";
    out << "backup_dir=" << settings.backup_dir << "\n";
    out << "backup_every=" << settings.backup_every << "\n";
    out << "backup_keep=" << settings.backup_keep << "\n";
    out << "rig_kind=" << settings.rig_kind << "\n";
    out << "rig_model=" << settings.rig_model << "\n";
    out << "rig_device=" << settings.rig_device << "\n";
    out << "rig_speed=" << settings.rig_speed << "\n";
    out << "rig_address=" << settings.rig_address << "\n";
    out << "rig_poll_ms=" << settings.rig_poll_ms << "\n";
    for (const auto& [key, value] : settings.others) out << key << "=" << value << "\n";
    out.flush();
    if (!out) return false;
  }
  std::filesystem::rename(tmp, path, ec);
  return !ec;
}

}  // namespace kontura
