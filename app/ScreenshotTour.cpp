#include "ScreenshotTour.h"

#include "Exceptions.h"
#include "UserInput.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPixmap>

using namespace Qt::StringLiterals;

namespace {

// "Conferência GIA RS" → "conferencia-gia-rs".
QString FileNameOf(const QString& title)
{
    QString name;
    for (const QChar c : title.normalized(QString::NormalizationForm_D).toLower()) {
        if (c.isLetterOrNumber() && c.unicode() < 128)
            name += c;
        else if (!c.isMark() && !name.isEmpty() && !name.endsWith(u'-'))
            name += u'-';
    }
    while (name.endsWith(u'-'))
        name.chop(1);
    return name;
}

} // namespace

QStringList TakeReportScreenshots(QMdiArea& area, const QString& dir)
{
    QMdiSubWindow* screen = ActiveScreen(area);
    QComboBox* combo = screen ? screen->findChild<QComboBox*>(u"cbbReportNames"_s) : nullptr;
    if (!combo || combo->count() == 0)
        throw EHostConfigError(u"Nenhuma tela aberta com relatórios para fotografar."_s);
    if (!QDir().mkpath(dir))
        throw EHostConfigError(u"Não foi possível criar a pasta '%1'."_s.arg(dir));
    combo->setFocus();
    QStringList files;
    for (int index = 0; index < combo->count(); ++index) {
        PressKey(combo, index == 0 ? Qt::Key_Home : Qt::Key_Down);
        QCoreApplication::processEvents();
        const QString file =
            QDir(dir).filePath(u"%1-%2.png"_s.arg(index + 1, 2, 10, QChar(u'0')).arg(FileNameOf(combo->currentText())));
        if (!screen->grab().save(file))
            throw EHostConfigError(u"Não foi possível gravar '%1'."_s.arg(file));
        files.append(file);
    }
    return files;
}
