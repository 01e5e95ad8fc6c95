// Holds the channel database the way another program writing to it does.
#pragma once

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>

class DatabaseLock
{
public:
    explicit DatabaseLock(const QString &path)
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("test-lock"));
        db.setDatabaseName(path);
        m_locked = db.open() && QSqlQuery(db).exec(QStringLiteral("BEGIN EXCLUSIVE"));
    }
    ~DatabaseLock() { release(); }

    bool isLocked() const { return m_locked; }
    void release()
    {
        if (!QSqlDatabase::contains(QStringLiteral("test-lock")))
            return;
        {
            QSqlDatabase db = QSqlDatabase::database(QStringLiteral("test-lock"));
            if (m_locked)
                QSqlQuery(db).exec(QStringLiteral("ROLLBACK"));
            db.close();
        }
        QSqlDatabase::removeDatabase(QStringLiteral("test-lock"));
        m_locked = false;
    }

private:
    bool m_locked = false;
};
