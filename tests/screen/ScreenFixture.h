#pragma once

#include "DatabaseAddress.h"
#include "HostSettings.h"
#include "Modelo.h"
#include "ScriptedDialogs.h"
#include "TDBConnection.h"
#include "TdtmDBGeral.h"
#include "TfrmConFisc.h"

#include <QAccessible>
#include <QApplication>
#include <QWidget>
#include <gtest/gtest.h>

#include <ostream>

using namespace Qt::StringLiterals;

// Texts in failure messages as they read.
inline void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }

// The host's local queries read the database at address, signed in to as the host does at start: on PostgreSQL
// before anything else, and its calls to the server carry that sign-in.
inline void useHostDatabase(const QString& address)
{
    HostSettings::current().databasePath = address;
    dtmDBGeral()->adcGeral->SetConnected(false);
    if (database::DatabaseAddress::parse(address).engine() == database::Engine::PostgreSQL)
        dtmDBGeral()->adcGeral->Database();
}

// A fresh screen for each test, opened by the host's entry without presets, with the scripted dialogs and the
// report definitions of the source tree. The application server is down (a closed port) unless a test says
// otherwise: creating the screen then connects silently to nothing.
class ScreenTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        dialogs = &ScriptedDialogs::reset();
        HostSettings& settings = HostSettings::current();
        settings.reportsDir = QString::fromUtf8(FISCAL_SOURCE_DIR "/reports");
        settings.serverHost = u"127.0.0.1"_s;
        settings.serverPort = ClosedPort;
        stListaMod.clear();
        stListaTp.clear();
    }

    void TearDown() override { delete frmConFisc; }

    TfrmConFisc& openScreen(const QVariant& presets = {})
    {
        IniProc(presets);
        return *frmConFisc;
    }

    // A control or component of the screen by its name, inherited ones included.
    template <class T>
    T* child(const QString& name) const
    {
        T* found = frmConFisc->findChild<T*>(name);
        EXPECT_NE(found, nullptr) << qPrintable(name);
        return found;
    }

    static constexpr int ClosedPort = 1;
    ScriptedDialogs* dialogs = nullptr;
};

// The controls of the window that the keyboard can reach without a name for assistive technology.
inline QStringList UnnamedControls(QWidget& window)
{
    QStringList unnamed;
    for (QWidget* control : window.findChildren<QWidget*>()) {
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(control);
        if (control->window() == &window && (control->focusPolicy() & Qt::TabFocus) && !control->focusProxy() &&
            (!accessible || accessible->text(QAccessible::Name).isEmpty()))
            unnamed.append(QString::fromLatin1(control->metaObject()->className()) + u' ' + control->objectName());
    }
    return unnamed;
}

// The report preview window that is showing, if any.
inline QWidget* OpenPreview()
{
    for (QWidget* window : QApplication::topLevelWidgets())
        if (window->objectName() == u"ReportPreview"_s && window->isVisible())
            return window;
    return nullptr;
}

inline QVariant Presets(const QString& imposto, const QString& empresa, const QString& inscricao, const QString& inicio,
                        const QString& fim)
{
    return QVariantList{imposto, empresa, inscricao, inicio, fim};
}
