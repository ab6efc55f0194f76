#include "TDBTransaction.h"

#include "DatabaseFailure.h"
#include "Exceptions.h"
#include "TDBConnection.h"

#include <QSqlError>

using namespace Qt::StringLiterals;

TDBTransaction::TDBTransaction(QObject* parent, const QString& name, TDBConnection* defaultDatabase)
    : QObject(parent), m_database(defaultDatabase)
{
    setObjectName(name);
}

void TDBTransaction::StartTransaction()
{
    if (m_active)
        throw EDatabaseError(u"%1: a transação já está ativa."_s.arg(objectName()));
    QSqlDatabase db = m_database->Database();
    if (!db.transaction())
        throw EDatabaseError(database::failureText(db.lastError()));
    m_active = true;
}

void TDBTransaction::Commit()
{
    if (!m_active)
        throw EDatabaseError(u"%1: não há transação ativa."_s.arg(objectName()));
    QSqlDatabase db = m_database->Database();
    if (!db.commit())
        throw EDatabaseError(database::failureText(db.lastError()));
    m_active = false;
}

void TDBTransaction::Rollback()
{
    if (!m_active)
        throw EDatabaseError(u"%1: não há transação ativa."_s.arg(objectName()));
    QSqlDatabase db = m_database->Database();
    m_active = false;
    if (!db.rollback())
        throw EDatabaseError(database::failureText(db.lastError()));
}
