#pragma once

#include "Events.h"
#include "hostfw_export.h"

#include <QToolButton>

class TDataSource;

// The lookup button beside a code field (21 by 21, the search glyph, hint "Pesquisar", takes no focus).
// A click (by the user through Dispatch; by code with Click()):
// - with a data source: OnBeforePesq(this, Allow) (Allow starts true; the handler fills or opens the dataset); an
//   exception from it ends the click. When allowed: a dataset that is missing or empty shows EmptyError as an error;
//   otherwise the pick list titled Title over the dataset; on a pick the dataset moves to the row picked, then
//   OnAfterPesq(this). Cancelling the list ends the click.
// - without a data source: OnClick(this) only.
class HOSTFW_EXPORT TBtnPesquisa : public QToolButton {
    Q_OBJECT
public:
    TBtnPesquisa(QWidget* parent, const QString& name);

    QWidget* Associate = nullptr;
    QString Title;
    QString EmptyError;
    TBeforePesqEvent OnBeforePesq;
    TNotifyEvent OnAfterPesq;
    TNotifyEvent OnClick;

    TDataSource* DataSource() const { return m_dataSource; }
    void SetDataSource(TDataSource* dataSource) { m_dataSource = dataSource; }

    void Click();

    // The host's search symbol: a 16 by 16 image with its disabled form.
    static QIcon searchGlyph();

private:
    TDataSource* m_dataSource = nullptr;
};
