#include "QtDialogs.h"

#include "PickListDialog.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>

namespace {

QWidget* dialogParent() { return QApplication::activeWindow(); }

} // namespace

void QtDialogs::showError(const QString& text)
{
    QMessageBox::critical(dialogParent(), QApplication::applicationDisplayName(), text);
}

void QtDialogs::showInformation(const QString& text)
{
    QMessageBox::information(dialogParent(), QApplication::applicationDisplayName(), text);
}

std::optional<int> QtDialogs::pickRow(const QString& title, TDataSet& dataSet)
{
    PickListDialog dialog(title, dataSet, false, dialogParent());
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.currentRow();
}

std::optional<QList<int>> QtDialogs::chooseRows(const QString& title, TDataSet& dataSet)
{
    PickListDialog dialog(title, dataSet, true, dialogParent());
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.checkedRows();
}

QString QtDialogs::saveFileName(const QString& caption, const QString& suggestedName, const QString& filters)
{
    return QFileDialog::getSaveFileName(dialogParent(), caption, suggestedName, filters);
}
