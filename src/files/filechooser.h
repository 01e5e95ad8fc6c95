// The one file dialog both file commands share. It keeps the filter and the name
// last chosen, which the name box starts with the next time.
#pragma once

#include "files/filedialogs.h"

#include <QObject>
#include <QString>

class QWidget;

class FileChooser : public QObject
{
    Q_OBJECT

public:
    explicit FileChooser(QWidget *parent);

    /// Filter entries as "description|pattern" pairs joined by "|", e.g. "text(*.doc)|*.doc".
    QString filter() const { return m_filter; }
    void setFilter(const QString &filter) { m_filter = filter; }

    /// The name chosen by the last chooseToOpen or chooseToSave; empty when that was cancelled.
    QString fileName() const { return m_fileName; }

    QString chooseToOpen();
    QString chooseToSave();

    /// The filter in Qt's form: "text(*.doc)|*.doc" becomes "text(*.doc) (*.doc)".
    static QString qtFilter(const QString &filter);

private:
    QString show(FileDialogs::Mode mode);

    QWidget *m_parent = nullptr;
    QString m_filter;
    QString m_fileName;
    QString m_lastChosen;
};
