#include <QCoreApplication>
#include <QLocale>
#include <gtest/gtest.h>

// Test main for tests without widgets: a Qt core application, a fixed locale and time zone.
int main(int argc, char** argv)
{
    qputenv("TZ", "America/Sao_Paulo");
    QLocale::setDefault(QLocale(QLocale::Portuguese, QLocale::Brazil));
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
