#include "QtDialogs.h"

#include "PickListDialog.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QPointer>

namespace {

QWidget* dialogParent() { return QApplication::activeWindow(); }

// Gives the keyboard back to the window that was active when a dialog closes. A window manager does this on its
// own; without one (a kiosk session, Xvfb) the keyboard would otherwise stay with no window at all.
class ReturnFocusOnClose {
public:
    ReturnFocusOnClose() : m_window(QApplication::activeWindow()) {}
    ~ReturnFocusOnClose()
    {
        if (m_window)
            m_window->activateWindow();
    }
    ReturnFocusOnClose(const ReturnFocusOnClose&) = delete;
    ReturnFocusOnClose& operator=(const ReturnFocusOnClose&) = delete;

private:
    QPointer<QWidget> m_window;
};

} // namespace

void QtDialogs::showError(const QString& text)
{
    const ReturnFocusOnClose returnFocus;
    QMessageBox::critical(dialogParent(), QApplication::applicationDisplayName(), text);
}

void QtDialogs::showInformation(const QString& text)
{
    const ReturnFocusOnClose returnFocus;
    QMessageBox::information(dialogParent(), QApplication::applicationDisplayName(), text);
}

std::optional<int> QtDialogs::pickRow(const QString& title, TDataSet& dataSet)
{
    const ReturnFocusOnClose returnFocus;
    PickListDialog dialog(title, dataSet, false, dialogParent());
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.currentRow();
}

std::optional<QList<int>> QtDialogs::chooseRows(const QString& title, TDataSet& dataSet, const QList<int>& ticked)
{
    const ReturnFocusOnClose returnFocus;
    PickListDialog dialog(title, dataSet, true, dialogParent());
    dialog.setCheckedRows(ticked);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.checkedRows();
}

QString QtDialogs::saveFileName(const QString& caption, const QString& suggestedName, const QString& filters)
{
    const ReturnFocusOnClose returnFocus;
    return QFileDialog::getSaveFileName(dialogParent(), caption, suggestedName, filters);
}
