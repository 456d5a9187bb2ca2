// Entry point of the widget and settings window tests: one QApplication for every test.
#include <QApplication>

#include <gtest/gtest.h>

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
