#include <QGuiApplication>
#include <QLocale>
#include <gtest/gtest.h>

// Test main for painting without widgets: a Qt GUI application (fonts, PDF), a fixed locale and time zone.
int main(int argc, char** argv)
{
    qputenv("TZ", "America/Sao_Paulo");
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QLocale::setDefault(QLocale(QLocale::Portuguese, QLocale::Brazil));
    QGuiApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
