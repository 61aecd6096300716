#pragma once
// Where the program keeps its fileblocks, and everything the program does
// before its main window opens.
//
// Started from a shell, the program works in its start directory, as it
// always has: every fileblock, RUZ.ERR, the pictures and the rules document
// are looked up in the current directory. A start from the desktop menu must
// not scatter fileblocks over the home folder, so the choice is, first match
// wins:
//
//   1. --data DIR              DIR
//   2. KONTURA_DATA=DIR        DIR
//   3. --data-home             $XDG_DATA_HOME/kontura, or ~/.local/share/kontura
//                              when XDG_DATA_HOME is unset, empty or relative
//                              (the XDG base directory rule); the desktop
//                              entry and "make run" start the program so
//   4. none of these           the start directory
//
// A chosen directory is created when it is missing (with its parents), then
// tested by creating and deleting a file in it, and made the current
// directory before the engine starts. A directory that cannot be created,
// entered or written ends the program with a German message instead of a
// storage error on the first fileblock.

#include <string>
#include <vector>

namespace kontura {

// What the command line asks for.
struct StartOptions {
  std::string data_dir;    // --data DIR or --data=DIR; empty when not given
  bool data_home = false;  // --data-home
  bool help = false;       // --help or -h
  std::string error;       // a usage error (UTF-8); empty when the line is fine
};

// args: the arguments after the program name, without those the toolkit has
// taken. Arguments that are no option of ours and do not start with "--"
// (such as the diagnostics switch "-debug") are ignored.
StartOptions ParseStartOptions(const std::vector<std::string>& args);

// What the start depends on besides the command line.
struct StartEnvironment {
  std::string kontura_data;     // KONTURA_DATA
  std::string xdg_data_home;    // XDG_DATA_HOME
  std::string home;             // HOME
  bool quit_when_shown = false;  // KONTURA_QUIT_WHEN_SHOWN set and not empty
  std::string cty_file;         // the country file the prefix database is built from
};

// The country file of Debian's package hamradio-files.
inline constexpr char kHamradioFilesCty[] = "/usr/share/hamradio-files/cty.csv";

// The environment of this process, with kHamradioFilesCty as the country file.
StartEnvironment ProcessEnvironment();

// The data directory by the rule above; "." for the start directory. Empty,
// with *error set (UTF-8), when --data-home finds neither an absolute
// XDG_DATA_HOME nor HOME.
std::string ChooseDataDirectory(const StartOptions& options, const StartEnvironment& env, std::string* error);

// Creates dir when it is missing, makes sure a file can be created in it,
// makes it the current directory and the start directory. False, with
// *message set to the German text for the operator (UTF-8, lines joined by
// "\n"), when any of that fails; the current directory is then unchanged.
bool EnterDataDirectory(const std::string& dir, std::string* message);

// The text of "kontura --help" (UTF-8).
std::string StartUsageText();

// The program's steps before the main window: reads the command line,
// prints the help, enters the data directory and, when its FHPREFIX holds no
// entries and env.cty_file exists, builds the prefix database from that file
// (otherwise the main window warns as before). Messages go to standard error
// and through the platform dialogs.
struct ProgramStart {
  bool go_on = false;      // open the main window
  int exit_code = 0;       // when !go_on: 0 after the help, 1 after an error, 2 after a usage error
  bool quit_when_shown = false;  // end as soon as the main window is up (the installation test)
};
ProgramStart PrepareProgramStart(const std::vector<std::string>& args, const StartEnvironment& env);

}  // namespace kontura
