// Runs the window tests inside one QApplication (offscreen under CTest).

#include <QApplication>
#include <gtest/gtest.h>

#include <clocale>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  std::setlocale(LC_NUMERIC, "C");  // as the program does after QApplication
  QApplication::setApplicationName(QStringLiteral("Kontura"));
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
