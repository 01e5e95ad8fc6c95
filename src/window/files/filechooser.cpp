#include "window/files/filechooser.h"

#include "window/ui/designnames.h"

#include <QStringList>
#include <QWidget>

FileChooser::FileChooser(QWidget *parent)
    : QObject(parent)
    , m_parent(parent)
{
    setObjectName(DesignNames::Main::fileChooser());
}

QString FileChooser::chooseToOpen()
{
    return show(FileDialogs::Mode::Open);
}

QString FileChooser::chooseToSave()
{
    return show(FileDialogs::Mode::Save);
}

QString FileChooser::show(FileDialogs::Mode mode)
{
    const QStringList entries = qtFilter(m_filter).split(QStringLiteral(";;"));
    const QString initialFilter = entries.value(m_filterIndex);
    const FileDialogs::Request request{mode, qtFilter(m_filter), m_lastChosen, initialFilter, m_suffixFromFilter};
    const FileDialogs::Answer answer = FileDialogs::ask(m_parent, request);
    m_fileName = answer.fileName;
    if (!m_fileName.isEmpty()) {
        m_lastChosen = m_fileName;
        if (const qsizetype chosen = entries.indexOf(answer.filter); chosen >= 0)
            m_filterIndex = int(chosen);
    }
    return m_fileName;
}

QString FileChooser::qtFilter(const QString &filter)
{
    const QStringList parts = filter.split(u'|');
    QStringList entries;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString patterns = parts.at(i + 1);
        patterns.replace(u';', u' ');
        entries << QStringLiteral("%1 (%2)").arg(parts.at(i), patterns);
    }
    return entries.join(QStringLiteral(";;"));
}
