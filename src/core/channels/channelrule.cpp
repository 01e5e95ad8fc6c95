#include "core/channels/channelrule.h"

#include "core/channels/channeltext.h"
#include "core/channels/frequencycheck.h"

#include <QCoreApplication>

namespace ChannelRule {

QString outOfRangeMessage()
{
    return QCoreApplication::translate("ChannelRule", "数据超出范围 ！！（%1 到 %2 MHz）").arg(FrequencyCheck::LowerLimit).arg(FrequencyCheck::UpperLimit);
}

bool isFrequencyText(const QString &text)
{
    const ChannelText::Problem problem = ChannelText::readFrequency(text).problem;
    return problem == ChannelText::Problem::None || problem == ChannelText::Problem::OutOfRange;
}

QString shiftMessage()
{
    return QCoreApplication::translate("ChannelRule", "拍频只能是 on 或 off ！！");
}

std::optional<QString> shiftText(const QString &text)
{
    const QString lower = text.trimmed().toLower();
    if (lower == u"on" || lower == u"off" || lower.isEmpty())
        return lower;
    return std::nullopt;
}

std::optional<QString> fileShiftText(const QString &text)
{
    if (text.trimmed() == u"Null")
        return QStringLiteral("off");
    return shiftText(text);
}

CellProblem cellProblem(int field, const QString &text)
{
    if (text.size() > MaxCellLength)
        return CellProblem::TooLong;
    if (field == ChannelField::Bt)
        return shiftText(text) ? CellProblem::None : CellProblem::NotShift;
    if ((field == ChannelField::Rf || field == ChannelField::Tf) && !isFrequencyText(text))
        return CellProblem::NotNumber;
    return CellProblem::None;
}

BadFrequency firstBadFrequency(const ChannelList &channels)
{
    for (int row = 0; row < channels.size(); ++row) {
        const ChannelRecord &record = channels.at(row);
        for (const int field : {ChannelField::Rf, ChannelField::Tf}) {
            const QVariant &value = field == ChannelField::Rf ? record.rf : record.tf;
            if (value.isNull())
                continue;
            const QString text = value.toString();
            if (!ChannelText::readFrequency(text).ok())
                return {row, field, text};
        }
    }
    return {};
}

} // namespace ChannelRule
