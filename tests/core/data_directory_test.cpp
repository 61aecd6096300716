// The data directory: what the command line and the environment choose, how
// a chosen directory is created, tested and entered, what the operator is
// told when that fails, and the prefix database a first start builds.

#include "app/data_directory.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "app/prefix_database_start.h"
#include "app/storage_setup.h"
#include "storage/catalogue.h"
#include "tests/support/source_tree.h"
#include "tests/support/start_dir_fixture.h"

namespace kontura::testing {
namespace {

namespace fs = std::filesystem;

TEST(StartOptionsTest, ReadsTheDataOptionsAndRejectsUnknownOnes) {
  struct Case {
    const char* label;
    std::vector<std::string> args;
    std::string data_dir;
    bool data_home;
    bool help;
    bool error;
  };
  const Case cases[] = {
      {"nothing", {}, "", false, false, false},
      {"separate value", {"--data", "/srv/log"}, "/srv/log", false, false, false},
      {"joined value", {"--data=/srv/log"}, "/srv/log", false, false, false},
      {"value with blanks", {"--data", "Mein Log"}, "Mein Log", false, false, false},
      {"menu start", {"--data-home"}, "", true, false, false},
      {"both kept for the choice", {"--data-home", "--data", "x"}, "x", true, false, false},
      {"help", {"--help"}, "", false, true, false},
      {"short help", {"-h"}, "", false, true, false},
      {"diagnostics switch ignored", {"-debug"}, "", false, false, false},
      {"missing value", {"--data"}, "", false, false, true},
      {"empty value", {"--data", ""}, "", false, false, true},
      {"empty joined value", {"--data="}, "", false, false, true},
      {"unknown option", {"--daten", "x"}, "", false, false, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    const StartOptions o = ParseStartOptions(c.args);
    EXPECT_EQ(o.data_dir, c.data_dir);
    EXPECT_EQ(o.data_home, c.data_home);
    EXPECT_EQ(o.help, c.help);
    EXPECT_EQ(!o.error.empty(), c.error) << o.error;
  }
}

TEST(DataDirectoryChoiceTest, OptionBeatsVariableBeatsMenuStartBeatsStartDirectory) {
  struct Case {
    const char* label;
    std::vector<std::string> args;
    std::string kontura_data, xdg, home;
    std::string expected;  // empty: no directory, an error
  };
  const Case cases[] = {
      {"shell start", {}, "", "/x", "/h", "."},
      {"shell start with the variable", {}, "/var/k", "/x", "/h", "/var/k"},
      {"option beats variable", {"--data", "rel/dir"}, "/var/k", "", "/h", "rel/dir"},
      {"option beats menu start", {"--data-home", "--data", "/o"}, "", "/x", "/h", "/o"},
      {"variable beats menu start", {"--data-home"}, "/var/k", "/x", "/h", "/var/k"},
      {"menu start, XDG_DATA_HOME", {"--data-home"}, "", "/x/share", "/h", "/x/share/kontura"},
      {"menu start, XDG_DATA_HOME unset", {"--data-home"}, "", "", "/h", "/h/.local/share/kontura"},
      {"menu start, relative XDG_DATA_HOME ignored", {"--data-home"}, "", "share", "/h", "/h/.local/share/kontura"},
      {"menu start without HOME", {"--data-home"}, "", "", "", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    StartEnvironment env;
    env.kontura_data = c.kontura_data;
    env.xdg_data_home = c.xdg;
    env.home = c.home;
    std::string error;
    EXPECT_EQ(ChooseDataDirectory(ParseStartOptions(c.args), env, &error), c.expected);
    EXPECT_EQ(error.empty(), !c.expected.empty()) << error;
  }
}

// Entering runs in a scratch directory; the fixture restores the current
// directory afterwards.
class EnterDataDirectoryTest : public StartDirTest {
 protected:
  // Enters dir and expects the refusal: the message names the directory and
  // the reason, and the current directory stays where it was.
  void ExpectRefused(const std::string& dir, const std::string& reason) {
    const fs::path before = fs::current_path();
    std::string message;
    EXPECT_FALSE(EnterDataDirectory(dir, &message));
    EXPECT_NE(message.find("\"" + dir + "\""), std::string::npos) << message;
    EXPECT_NE(message.find(reason), std::string::npos) << message;
    EXPECT_NE(message.find("Kontura wird beendet."), std::string::npos) << message;
    EXPECT_EQ(fs::current_path(), before);
  }
};

TEST_F(EnterDataDirectoryTest, CreatesAMissingDirectoryWithItsParentsAndWorksThere) {
  const std::string dir = Path("a/b/kontura");
  std::string message;
  ASSERT_TRUE(EnterDataDirectory(dir, &message)) << message;
  EXPECT_EQ(fs::current_path(), fs::path(dir));
  EXPECT_EQ(StartDir(), dir + "/");
  EXPECT_TRUE(fs::is_empty(dir)) << "the write test leaves nothing behind";
  // A relative path counts from the current directory, and an existing one is kept.
  ASSERT_TRUE(EnterDataDirectory("..", &message)) << message;
  EXPECT_EQ(fs::current_path(), fs::path(Path("a/b")));
}

TEST_F(EnterDataDirectoryTest, RefusesWhatCannotBeCreatedEnteredOrWritten) {
  std::ofstream(Path("datei")) << "x";
  ExpectRefused(Path("datei"), "ist kein Verzeichnis");
  ExpectRefused(Path("datei/kontura"), "kann nicht angelegt werden: ein Teil des Pfades ist kein Verzeichnis");
  // /proc takes no new files, for root as for everyone.
  ExpectRefused("/proc", "kann nicht geschrieben werden");
  ExpectRefused("/proc/kontura", "kann nicht angelegt werden");
  if (geteuid() != 0) {  // root writes despite the permissions
    fs::create_directory(Path("nur-lesen"));
    ::chmod(Path("nur-lesen").c_str(), 0555);
    ExpectRefused(Path("nur-lesen"), "kann nicht geschrieben werden: keine Zugriffsberechtigung");
    ::chmod(Path("nur-lesen").c_str(), 0755);
  }
}

std::string CtyFixture() { return SourcePath("tests/data/cty_small.csv"); }

class ProgramStartTest : public StartDirTest {
 protected:
  StartEnvironment Env(const std::string& data, const std::string& cty) {
    StartEnvironment env;
    env.kontura_data = data;
    env.cty_file = cty;
    return env;
  }

  // The entries of FHPREFIX in the current directory.
  static int32_t Entries() {
    if (!StartStorage()) return -1;
    const int32_t n = PrefixTableEntries();
    StopStorage();
    return n;
  }
};

TEST_F(ProgramStartTest, FirstStartBuildsThePrefixDatabaseOnceWhenTheCountryFileIsThere) {
  const std::string dir = Path("neu");
  ProgramStart start = PrepareProgramStart({}, Env(dir, CtyFixture()));
  ASSERT_TRUE(start.go_on);
  EXPECT_EQ(fs::current_path(), fs::path(dir));
  EXPECT_TRUE(platform.dialogs.messages.empty());
  EXPECT_EQ(Entries(), 7);

  // The next start keeps what is there, even with another country file.
  std::ofstream(Path("other.csv")) << "F,France,227,EU,14,27,46.00,-2.00,-1.0,F;\n";
  start = PrepareProgramStart({}, Env(dir, Path("other.csv")));
  ASSERT_TRUE(start.go_on);
  EXPECT_EQ(Entries(), 7);
}

TEST_F(ProgramStartTest, WithoutCountryFileThePrefixDatabaseStaysEmptyForTheMainWindowsWarning) {
  ProgramStart start = PrepareProgramStart({"--data", Path("neu")}, Env("", Path("missing.csv")));
  ASSERT_TRUE(start.go_on);
  EXPECT_TRUE(platform.dialogs.messages.empty());
  EXPECT_EQ(Entries(), 0);
}

TEST_F(ProgramStartTest, EndsWithoutMainWindowOnHelpUsageErrorAndUnusableDirectory) {
  struct Case {
    const char* label;
    std::vector<std::string> args;
    int exit_code;
    bool message;  // shown through the dialogs
  };
  std::ofstream(Path("datei")) << "x";
  const Case cases[] = {
      {"help", {"--help"}, 0, false},
      {"usage error", {"--data"}, 2, false},
      {"unusable directory", {"--data", Path("datei/kontura")}, 1, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    platform.dialogs.messages.clear();
    const ProgramStart start = PrepareProgramStart(c.args, Env("", CtyFixture()));
    EXPECT_FALSE(start.go_on);
    EXPECT_EQ(start.exit_code, c.exit_code);
    ASSERT_EQ(platform.dialogs.messages.size(), c.message ? 1u : 0u);
    if (c.message) {
      // Windows-1252 like every text of the dialogs, lines joined by CR.
      EXPECT_EQ(platform.dialogs.messages[0],
                "Das Datenverzeichnis \"" + Path("datei/kontura") +
                    "\" kann nicht angelegt werden: ein Teil des Pfades ist kein Verzeichnis.\r"
                "Kontura wird beendet. W\xE4hlen Sie mit --data VERZEICHNIS ein anderes Datenverzeichnis.");
    }
    EXPECT_EQ(fs::current_path(), fs::path(m_dir));
  }
}

TEST_F(ProgramStartTest, TheQuitHookComesFromTheEnvironment) {
  StartEnvironment env = Env(Path("d"), Path("missing.csv"));
  env.quit_when_shown = true;
  EXPECT_TRUE(PrepareProgramStart({}, env).quit_when_shown);
}

}  // namespace
}  // namespace kontura::testing
