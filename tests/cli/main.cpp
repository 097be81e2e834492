#include "qtplugin/QtServicesLoader.h"

#include <QGuiApplication>

#include <gtest/gtest.h>

// Pictures need fonts, fonts need a GUI application; no display is used.
int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    int qtArgc = 1;
    QGuiApplication application(qtArgc, argv);
    kestrel::ProvideQtServices(KestrelQtServices());
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
