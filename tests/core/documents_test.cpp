// What the shell-open routine makes of a target before opening it.

#include <gtest/gtest.h>

#include "platform/documents.h"

namespace kontura {
namespace {

TEST(ShellOpenTarget, SlashedZeroAndMailAddresses) {
  const struct {
    std::string target;
    std::string opened;
  } cases[] = {
      {"/home/op/AUSSCHREIBUNG MOBILTEST.pdf", "/home/op/AUSSCHREIBUNG MOBILTEST.pdf"},
      {"https://www.darc.de/D\xC3\x98" "ABC", "https://www.darc.de/D0ABC"},
      {"dl\xC3\x98xyz@darc.de", "mailto:dl0xyz@darc.de"},
      {"mailto:dl1abc@darc.de", "mailto:dl1abc@darc.de"},
      {"MailTo:dl1abc@darc.de", "MailTo:dl1abc@darc.de"},
      {"\xC3\x98\xC3\x98", "00"},
  };
  for (const auto& c : cases) EXPECT_EQ(ShellOpenTarget(c.target), c.opened) << c.target;
}

}  // namespace
}  // namespace kontura
