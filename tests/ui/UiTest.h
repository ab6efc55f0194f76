#pragma once

#include "QtPrinters.h"
#include "ScriptedDialogs.h"
#include "TClientDataSet.h"

#include <QCoreApplication>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

#include <memory>

using namespace Qt::StringLiterals;

// A fresh scripted dialogs service and a shown, active top-level form for each test.
class UiTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        dialogs = &ScriptedDialogs::reset();
        form = std::make_unique<QWidget>();
        form->setObjectName(u"form"_s);
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
    auto dataSet = std::make_unique<TClientDataSet>(nullptr, u"cdsImpo"_s);
    dataSet->AddField({u"CDIMPOSTONFE"_s, FieldType::String, 2, u"Codigo"_s});
    dataSet->AddField({u"SGIMPOSTONFE"_s, FieldType::String, 10, u"Sigla"_s});
    dataSet->AddField({u"IDORGARRECADNFE"_s, FieldType::String, 1, {}, false});
    protocol::DataPacket packet;
    packet.fields = {{u"CDIMPOSTONFE"_s, FieldType::String, 2},
                     {u"SGIMPOSTONFE"_s, FieldType::String, 10},
                     {u"IDORGARRECADNFE"_s, FieldType::String, 1}};
    packet.rows = rows;
    dataSet->SetData(packet);
    return dataSet;
}

inline std::unique_ptr<TClientDataSet> TaxDataSet()
{
    return TaxDataSet({{u"01"_s, u"ICMS"_s, u"E"_s}, {u"02"_s, u"IPI"_s, u"E"_s}, {u"06"_s, u"ISS"_s, u"M"_s}});
}
