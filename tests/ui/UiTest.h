#pragma once

#include "QtPrinters.h"
#include "ScriptedDialogs.h"
#include "TClientDataSet.h"

#include <QCoreApplication>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

#include <memory>

// A fresh scripted dialogs service and a shown, active top-level form for each test.
class UiTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        dialogs = &ScriptedDialogs::reset();
        form = std::make_unique<QWidget>();
        form->setObjectName(QStringLiteral("form"));
        form->resize(400, 300);
    }

    // Shows the form and waits until it is the active window.
    void showForm()
    {
        form->show();
        form->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    }

    // Runs the queued calls (the focus events run once the focus change has completed).
    static void settle()
    {
        for (int i = 0; i < 3; ++i)
            QCoreApplication::processEvents();
    }

    ScriptedDialogs* dialogs = nullptr;
    std::unique_ptr<QWidget> form;
};

// Names of the senders of an event, in order.
struct EventLog {
    QStringList entries;
    auto recorder(const QString& what)
    {
        return [this, what](QObject* sender) { entries.append(what + u':' + sender->objectName()); };
    }
};

// A dataset with a code, a name and a hidden field, as the screen's lookups have.
inline std::unique_ptr<TClientDataSet> TaxDataSet(const QList<QVariantList>& rows)
{
    using protocol::FieldType;
    auto dataSet = std::make_unique<TClientDataSet>(nullptr, QStringLiteral("cdsImpo"));
    dataSet->AddField({QStringLiteral("CDIMPOSTONFE"), FieldType::String, 2, QStringLiteral("Codigo")});
    dataSet->AddField({QStringLiteral("SGIMPOSTONFE"), FieldType::String, 10, QStringLiteral("Sigla")});
    dataSet->AddField({QStringLiteral("IDORGARRECADNFE"), FieldType::String, 1, {}, false});
    protocol::DataPacket packet;
    packet.fields = {{QStringLiteral("CDIMPOSTONFE"), FieldType::String, 2},
                     {QStringLiteral("SGIMPOSTONFE"), FieldType::String, 10},
                     {QStringLiteral("IDORGARRECADNFE"), FieldType::String, 1}};
    packet.rows = rows;
    dataSet->SetData(packet);
    return dataSet;
}

inline std::unique_ptr<TClientDataSet> TaxDataSet()
{
    return TaxDataSet({{QStringLiteral("01"), QStringLiteral("ICMS"), QStringLiteral("E")},
                       {QStringLiteral("02"), QStringLiteral("IPI"), QStringLiteral("E")},
                       {QStringLiteral("06"), QStringLiteral("ISS"), QStringLiteral("M")}});
}
