// Runs the GoogleTest cases inside a QApplication on the offscreen platform
// unless another one is asked for.
#include <QtWidgets/QApplication>
#include <gtest/gtest.h>

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    ::testing::InitGoogleTest(&argc, argv);
    QApplication App(argc, argv);
    return RUN_ALL_TESTS();
}
