// Runs the window tests inside one QApplication (offscreen under CTest).

#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Kontura"));
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
