// The configuration dialog's "Regeln" button opens the rules document of
// the start directory with the desktop's application.

#include <QPushButton>
#include <gtest/gtest.h>

#include "contest/contest_config.h"
#include "contest/qt/contest_config.h"
#include "storage/catalogue.h"
#include "tests/support/start_dir_fixture.h"

namespace kontura::testing {
namespace {

class ContestRulesTest : public StartDirTest {};

TEST_F(ContestRulesTest, RulesButtonOpensTheRulesDocumentOfTheStartDirectory) {
  ASSERT_TRUE(StartStorage());
  TContestDefinition def;
  FillDefinitionFromHeader(def, nullptr);
  TEingContestStd dialog(ConfigMode::kNew, def);
  auto* rules = dialog.findChild<QPushButton*>(QStringLiteral("btnRegeln"));
  ASSERT_NE(rules, nullptr);
  rules->click();
  EXPECT_EQ(platform.documents.opened, std::vector<std::string>{StartDir() + "AUSSCHREIBUNG MOBILTEST.pdf"});
}

}  // namespace
}  // namespace kontura::testing
