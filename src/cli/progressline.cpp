#include "cli/progressline.h"

#include <QStringList>
#include <QtGlobal>

#include <algorithm>

#if defined(Q_OS_UNIX)
#include <unistd.h>
#elif defined(Q_OS_WIN)
#include <io.h>
#endif

ProgressLine::ProgressLine(std::FILE *stream)
    : m_stream(stream)
    , m_shown(isTerminal(stream))
{
}

bool ProgressLine::isTerminal(std::FILE *stream)
{
#if defined(Q_OS_UNIX)
    return isatty(fileno(stream)) == 1;
#elif defined(Q_OS_WIN)
    return _isatty(_fileno(stream)) != 0;
#else
    Q_UNUSED(stream);
    return false;
#endif
}

void ProgressLine::update(const QString &port, const QString &stage, int frame, int total)
{
    if (!m_shown)
        return;
    const QString text = QStringLiteral("%1: %2 frame %3 of %4").arg(port, stage).arg(frame).arg(total);
    auto found = std::find_if(m_entries.begin(), m_entries.end(), [&](const Entry &entry) { return entry.port == port; });
    if (found == m_entries.end())
        m_entries.append({port, text});
    else
        found->text = text;

    QStringList parts;
    for (const Entry &entry : std::as_const(m_entries))
        parts << entry.text;
    QString line = parts.join(QStringLiteral("   "));
    const qsizetype width = line.size();
    // Blanks over the rest of a longer line written before.
    if (width < m_width)
        line += QString(m_width - width, u' ');
    m_width = width;
    std::fputs(("\r" + line).toLocal8Bit().constData(), m_stream);
    std::fflush(m_stream);
}

void ProgressLine::clear()
{
    if (!m_shown || m_width == 0)
        return;
    std::fputs(("\r" + QString(m_width, u' ') + "\r").toLocal8Bit().constData(), m_stream);
    std::fflush(m_stream);
    m_width = 0;
}
