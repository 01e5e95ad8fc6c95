#include "core/radio/writereport.h"

#include <QCoreApplication>
#include <QStringList>

namespace WriteReport {

namespace {

QString translated(const char *text)
{
    return QCoreApplication::translate("WriteReport", text);
}

} // namespace

QStringList lines(const ChannelSetDiff::Result &diff, const QString &squelchFormat, const QString &channelFormat)
{
    QStringList result;
    if (diff.squelchChanged)
        result << squelchFormat.arg(diff.squelchBefore).arg(diff.squelchAfter);
    for (const ChannelSetDiff::ChannelChange &change : diff.channels)
        result << channelFormat.arg(change.channel).arg(ChannelSetDiff::shown(change.before), ChannelSetDiff::shown(change.after));
    return result;
}

QString changes(const ChannelSetDiff::Result &diff)
{
    return lines(diff, translated(QT_TRANSLATE_NOOP("WriteReport", "静噪级别：%1 → %2")),
                 translated(QT_TRANSLATE_NOOP("WriteReport", "第 %1 信道：%2 → %3")))
        .join(u'\n');
}

QString differences(const ChannelSetDiff::Result &diff)
{
    return lines(diff, translated(QT_TRANSLATE_NOOP("WriteReport", "静噪级别：写入 %1，读回 %2")),
                 translated(QT_TRANSLATE_NOOP("WriteReport", "第 %1 信道：写入 %2，读回 %3")))
        .join(u'\n');
}

QString differingParts(const ChannelSetDiff::Result &diff)
{
    QStringList parts;
    if (diff.squelchChanged)
        parts << translated(QT_TRANSLATE_NOOP("WriteReport", "静噪级别"));
    QStringList numbers;
    for (const ChannelSetDiff::ChannelChange &change : diff.channels)
        numbers << QString::number(change.channel);
    if (!numbers.isEmpty())
        parts << translated(QT_TRANSLATE_NOOP("WriteReport", "第 %1 信道")).arg(numbers.join(translated(QT_TRANSLATE_NOOP("WriteReport", "、"))));
    return parts.join(translated(QT_TRANSLATE_NOOP("WriteReport", "，")));
}

} // namespace WriteReport
