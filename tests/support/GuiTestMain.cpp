// The main of the GUI test suites: one QApplication for all tests, on Qt's
// offscreen platform unless the environment chooses another.

#include <gtest/gtest.h>

#include <QApplication>

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setApplicationDisplayName(QStringLiteral("Olm Test"));
    return RUN_ALL_TESTS();
}
