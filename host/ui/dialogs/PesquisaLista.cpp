#include "PesquisaLista.h"

#include "Dialogs.h"
#include "TDataSet.h"

#include <algorithm>

bool PesquisaLista(TDataSource* source, const QString& keyField, const QString& titleAndMessage, bool, QString& output)
{
    const qsizetype bar = titleAndMessage.indexOf(u'|');
    const QString title = bar < 0 ? titleAndMessage : titleAndMessage.left(bar);
    const QString emptyMessage = bar < 0 ? QString() : titleAndMessage.mid(bar + 1);

    TDataSet* dataSet = source ? source->DataSet() : nullptr;
    if (!dataSet || dataSet->IsEmpty()) {
        Dialogs::current().showError(emptyMessage);
        return false;
    }
    const TField* key = dataSet->FieldByName(keyField);
    const int keyIndex = dataSet->FieldIndex(keyField);
    const auto keyOf = [&](int row) { return key->textOf(dataSet->Value(row, keyIndex)).trimmed(); };

    const QStringList current = output.split(u',', Qt::SkipEmptyParts);
    QList<int> ticked;
    for (int row = 0; row < dataSet->RecordCount(); ++row)
        if (current.contains(keyOf(row)))
            ticked.append(row);
    std::optional<QList<int>> chosen = Dialogs::current().chooseRows(title, *dataSet, ticked);
    if (!chosen)
        return false;
    std::sort(chosen->begin(), chosen->end());
    chosen->erase(std::unique(chosen->begin(), chosen->end()), chosen->end());
    QStringList keys;
    for (int row : *chosen)
        keys.append(keyOf(row));
    output = keys.join(u',');
    return true;
}
