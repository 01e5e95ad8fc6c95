// One channel of the radio as the table holds it. Each field is a text or null (no value).
#pragma once

#include <QList>
#include <QString>
#include <QVariant>

struct ChannelRecord
{
    QVariant no; ///< channel number
    QVariant rf; ///< receive frequency in MHz
    QVariant tf; ///< transmit frequency in MHz
    QVariant bt; ///< beat-frequency shift: only "on" means on

    friend bool operator==(const ChannelRecord &, const ChannelRecord &) = default;
};

using ChannelList = QList<ChannelRecord>;

/// Field indexes of the table "Chane", in their stored order.
namespace ChannelField {
constexpr int No = 0;
constexpr int Rf = 1;
constexpr int Tf = 2;
constexpr int Bt = 3;
constexpr int Count = 4;
} // namespace ChannelField

/// The number of channels the radio holds; the table's first rows, in stored order.
constexpr int ChannelCount = 16;

/// The empty text, kept apart from null: the database stores it as '' and not as NULL.
inline QVariant emptyText()
{
    return QVariant(QStringLiteral(""));
}
