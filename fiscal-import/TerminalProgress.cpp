#include "TerminalProgress.h"

#include <QFileInfo>
#include <cstdio>
#include <unistd.h>

using namespace Qt::StringLiterals;

TerminalProgress::TerminalProgress() : m_terminal(isatty(STDERR_FILENO)) {}

TerminalProgress::~TerminalProgress()
{
    if (m_drawn)
        std::fprintf(stderr, "\r\033[K");
}

bool TerminalProgress::step(const QString& file, qint64 done, qint64 total)
{
    if (!m_terminal || (m_drawn && m_sinceDrawn.elapsed() < 100))
        return true;
    constexpr int width = 30;
    const int percent = total > 0 ? int(std::min<qint64>(100, done * 100 / total)) : 0;
    const int filled = percent * width / 100;
    const QString bar = QString(filled, u'#') + QString(width - filled, u' ');
    const QString line = u"[%1] %2% %3"_s.arg(bar).arg(percent, 3).arg(QFileInfo(file).fileName().left(40));
    std::fprintf(stderr, "\r\033[K%s", line.toLocal8Bit().constData());
    std::fflush(stderr);
    m_drawn = true;
    m_sinceDrawn.restart();
    return true;
}
