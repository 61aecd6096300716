#pragma once
// The program's own settings, kept apart from the suite's fileblocks (which
// other programs share): a text file of "key=value" lines in the user's
// configuration directory, $XDG_CONFIG_HOME/kontura/kontura.conf (by
// default ~/.config/kontura/kontura.conf). Unknown keys are kept when the
// file is written again, so that a newer program's settings survive an
// older one; a missing or unreadable file gives the defaults.

#include <map>
#include <string>

namespace kontura {

struct ProgramSettings {
  // Backups of the log while it is worked: the directory (relative paths
  // lie in the data directory), every how many saved QSOs, how many
  // generations of a contest are kept.
  std::string backup_dir = "backup";
  int backup_every = 10;
  int backup_keep = 5;

  // The transceiver: rig_kind "none", "direct" (hamlib model number,
  // serial device, speed; 0 the model's default) or "network" (host:port of
  // a running rigctld), read every rig_poll_ms milliseconds.
  std::string rig_kind = "none";
  int rig_model = 0;
  std::string rig_device;
  int rig_speed = 0;
  std::string rig_address = "localhost:4532";
  int rig_poll_ms = 500;

  std::map<std::string, std::string> others;  // keys this program does not know
};

// $XDG_CONFIG_HOME/kontura/kontura.conf, else $HOME/.config/kontura/kontura.conf.
std::string ProgramSettingsPath();

ProgramSettings LoadProgramSettings(const std::string& path);
// Writes under a temporary name and renames; creates the directory. False
// when the file could not be written.
bool SaveProgramSettings(const std::string& path, const ProgramSettings& settings);

}  // namespace kontura
