// The channel files last opened or saved, newest first, kept in the program's settings.
#pragma once

#include <QString>
#include <QStringList>

class QSettings;

class RecentFiles
{
public:
    /// How many files the list keeps.
    static constexpr int Capacity = 5;

    RecentFiles() = default;
    explicit RecentFiles(QStringList paths);

    QStringList paths() const { return m_paths; }
    bool isEmpty() const { return m_paths.isEmpty(); }

    /// Puts `path` first; an older entry of the same file goes, and the oldest beyond the capacity.
    void add(const QString &path);
    void remove(const QString &path);

    /// The list kept in `settings`; missing or damaged entries are left out.
    static RecentFiles load(const QSettings &settings);
    void store(QSettings &settings) const;

private:
    QStringList m_paths;
};
