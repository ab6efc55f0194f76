#include "ScriptedDialogs.h"

#include <QApplication>
#include <QLocale>
#include <gtest/gtest.h>

// Test main for widget tests: a widget application on a fixed locale and time zone, with the scripted dialogs
// installed so that no test ever waits on a person.
int main(int argc, char** argv)
{
    qputenv("TZ", "America/Sao_Paulo");
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QLocale::setDefault(QLocale(QLocale::Portuguese, QLocale::Brazil));
    QApplication app(argc, argv);
    ScriptedDialogs::reset();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
