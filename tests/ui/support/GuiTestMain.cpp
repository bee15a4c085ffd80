#include <QApplication>

#include <gtest/gtest.h>

// GoogleTest main for window tests: one QApplication on the offscreen platform unless the
// environment asks for another (xvfb-run for screenshots).
int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // The C library's reasons in messages, such as "No such file or directory", in English.
    qputenv("LC_ALL", "C.UTF-8");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
