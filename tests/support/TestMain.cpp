#include "app/JapaneseInterface.h"

#include <QApplication>
#include <gtest/gtest.h>

// Widgets need an application object; tests never open a real display. The windows get
// the language and font the program gives them.
int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    UseJapaneseInterface(app);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
