// The progress of every port on one line of standard error, rewritten in place; silent when
// standard error is not a terminal, so that logs and pipes get only the results.
#pragma once

#include <QList>
#include <QString>

#include <cstdio>

class ProgressLine
{
public:
    explicit ProgressLine(std::FILE *stream = stderr);

    bool isShown() const { return m_shown; }

    void update(const QString &port, const QString &stage, int frame, int total);
    /// Clears the line before other output goes to the stream.
    void clear();

    static bool isTerminal(std::FILE *stream);

private:
    struct Entry
    {
        QString port;
        QString text;
    };

    std::FILE *m_stream;
    bool m_shown;
    QList<Entry> m_entries;
    qsizetype m_width = 0;
};
