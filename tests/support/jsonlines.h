// Reads a file of JSON lines (the write log) as the tests see it: one object a line, none when the
// file is missing.
#pragma once

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QList>

inline QList<QJsonObject> jsonLines(const QString &path)
{
    QList<QJsonObject> lines;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return lines;
    for (const QByteArray &line : file.readAll().split('\n')) {
        if (!line.isEmpty())
            lines << QJsonDocument::fromJson(line).object();
    }
    return lines;
}
