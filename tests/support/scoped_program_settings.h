#pragma once
// The program's settings file as a test writes it, found through
// XDG_CONFIG_HOME until the object goes.

#include <gtest/gtest.h>
#include <stdlib.h>

#include <optional>
#include <string>

#include "platform/program_settings.h"

namespace kontura::testing {

class ScopedProgramSettings {
 public:
  ScopedProgramSettings(const std::string& config_home, const ProgramSettings& settings) {
    if (const char* old = std::getenv("XDG_CONFIG_HOME")) m_old = old;
    setenv("XDG_CONFIG_HOME", config_home.c_str(), 1);
    EXPECT_TRUE(SaveProgramSettings(ProgramSettingsPath(), settings));
  }
  ~ScopedProgramSettings() {
    if (m_old) {
      setenv("XDG_CONFIG_HOME", m_old->c_str(), 1);
    } else {
      unsetenv("XDG_CONFIG_HOME");
    }
  }
  ScopedProgramSettings(const ScopedProgramSettings&) = delete;
  ScopedProgramSettings& operator=(const ScopedProgramSettings&) = delete;

 private:
  std::optional<std::string> m_old;
};

}  // namespace kontura::testing
