#include <QApplication>

#include <gtest/gtest.h>

// GoogleTest main for window tests: one QApplication on the offscreen platform unless the
// environment asks for another (xvfb-run for screenshots).
int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
