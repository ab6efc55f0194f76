#include "QtDialogs.h"

#include "PickListDialog.h"
#include "ProgressWindow.h"
#include "ReportDefinition.h"
#include "ReportEditor.h"

#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QRegularExpression>

using namespace Qt::StringLiterals;

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

bool QtDialogs::confirm(const QString& question)
{
    const ReturnFocusOnClose returnFocus;
    QMessageBox box(QMessageBox::Question, QApplication::applicationDisplayName(), question, QMessageBox::NoButton,
                    dialogParent());
    QPushButton* yes = box.addButton(u"&Sim"_s, QMessageBox::YesRole);
    box.setDefaultButton(box.addButton(u"&Não"_s, QMessageBox::NoRole));
    box.exec();
    return box.clickedButton() == yes;
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

namespace {

// The extensions of a filter such as "PDF (*.pdf)": {"pdf"}.
QStringList extensionsOf(const QString& filter)
{
    static const QRegularExpression pattern(u"\\*\\.(\\w+)"_s);
    QStringList extensions;
    for (const QRegularExpressionMatch& match : pattern.globalMatch(filter))
        extensions.append(match.captured(1).toLower());
    return extensions;
}

} // namespace

QString QtDialogs::saveFileName(const QString& caption, const QString& suggestedName, const QString& filters)
{
    const ReturnFocusOnClose returnFocus;
    QFileDialog dialog(dialogParent(), caption, QString(), filters);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.selectFile(suggestedName);
    // A name typed without extension takes the chosen filter's before the dialog asks about overwriting it.
    const auto takeExtension = [&dialog](const QString& filter) {
        dialog.setDefaultSuffix(extensionsOf(filter).value(0));
    };
    takeExtension(dialog.selectedNameFilter());
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, takeExtension);
    return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles().value(0) : QString();
}

QStringList QtDialogs::openFileNames(const QString& caption, const QString& filters)
{
    const ReturnFocusOnClose returnFocus;
    return QFileDialog::getOpenFileNames(dialogParent(), caption, QString(), filters);
}

QString QtDialogs::existingFolder(const QString& caption)
{
    const ReturnFocusOnClose returnFocus;
    return QFileDialog::getExistingDirectory(dialogParent(), caption);
}

bool QtDialogs::choosePrinter(QPrinter& printer)
{
    const ReturnFocusOnClose returnFocus;
    QPrintDialog dialog(&printer, dialogParent());
    dialog.setWindowTitle(u"Imprimir"_s);
    return dialog.exec() == QDialog::Accepted;
}

std::unique_ptr<ReportProgress> QtDialogs::progress(const QString& title)
{
    return std::make_unique<ProgressWindow>(title);
}

std::optional<QString> QtDialogs::askText(const QString& caption, const QString& prompt)
{
    const ReturnFocusOnClose returnFocus;
    bool accepted = false;
    const QString text = QInputDialog::getText(dialogParent(), caption, prompt, QLineEdit::Normal, {}, &accepted);
    return accepted ? std::optional(text) : std::nullopt;
}

std::optional<SignInAnswer> QtDialogs::signIn(const QString& database, const QString& user, const QString& problem)
{
    const ReturnFocusOnClose returnFocus;
    QDialog dialog(dialogParent());
    dialog.setWindowTitle(u"Entrar no banco de dados fiscal"_s);
    auto* form = new QFormLayout(&dialog);
    form->addRow(new QLabel(u"Banco de dados: %1"_s.arg(database)));
    if (!problem.isEmpty()) {
        auto* refusal = new QLabel(problem);
        refusal->setWordWrap(true);
        refusal->setStyleSheet(u"color: #b00000"_s);
        form->addRow(refusal);
    }
    auto* userBox = new QLineEdit(user);
    userBox->setObjectName(u"edtUsuario"_s);
    userBox->setAccessibleName(u"Usuário"_s);
    auto* passwordBox = new QLineEdit;
    passwordBox->setObjectName(u"edtSenha"_s);
    passwordBox->setAccessibleName(u"Senha"_s);
    passwordBox->setEchoMode(QLineEdit::Password);
    form->addRow(u"&Usuário:"_s, userBox);
    form->addRow(u"&Senha:"_s, passwordBox);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons->button(QDialogButtonBox::Ok)->setText(u"Entrar"_s);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    form->addRow(buttons);
    (user.isEmpty() ? userBox : passwordBox)->setFocus();
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return SignInAnswer{userBox->text().trimmed(), passwordBox->text()};
}

void QtDialogs::editDefinition(const ReportDefinition& definition, ReportEditing& editing)
{
    const ReturnFocusOnClose returnFocus;
    ReportEditor editor(definition, editing, dialogParent());
    editor.exec();
}
