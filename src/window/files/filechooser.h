// The one file dialog both file commands share. It keeps the filter and the name
// last chosen, which the name box starts with the next time.
#pragma once

#include "window/files/filedialogs.h"

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

    /// The filter entry selected (0 for the first): the one the dialog starts with, and after a
    /// choice the one the user left selected.
    int filterIndex() const { return m_filterIndex; }
    void setFilterIndex(int index) { m_filterIndex = index; }

    /// Save dialogs: a name typed without extension gets the selected entry's extension.
    void setSuffixFromFilter(bool on) { m_suffixFromFilter = on; }

    /// What the name box starts with until the user chooses a file.
    void setInitialName(const QString &name) { m_lastChosen = name; }

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
    int m_filterIndex = 0;
    bool m_suffixFromFilter = false;
};
