#include "files/channelsheet.h"

#include "channels/channelrule.h"
#include "channels/frequencycheck.h"
#include "channels/textvalue.h"
#include "files/chirpsheet.h"
#include "files/csvrecords.h"
#include "files/outputtarget.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>

namespace ChannelSheet {

namespace {

const QString SquelchKey = QStringLiteral("squelch");
const QString ChannelsKey = QStringLiteral("channels");
const QString ChannelKey = QStringLiteral("channel");
const QString ReceiveKey = QStringLiteral("receive_mhz");
const QString TransmitKey = QStringLiteral("transmit_mhz");
const QString ShiftKey = QStringLiteral("shift");
const QStringList CsvHeader = {QStringLiteral("channel"), QStringLiteral("receive MHz"), QStringLiteral("transmit MHz"),
                               QStringLiteral("shift")};

/// An empty cell and a cell reading 0 both stand for no frequency, as in the grid.
bool isEmptySide(const QString &text)
{
    return text.isEmpty() || (ChannelRule::isFrequencyText(text) && FrequencyCheck::read(text) == FrequencyCheck::Reading::Empty);
}

void apply(ChannelRecord &record, const QList<FrequencyCheck::Assignment> &assignments)
{
    for (const FrequencyCheck::Assignment &assignment : assignments) {
        if (assignment.field == ChannelField::Rf)
            record.rf = assignment.value;
        else if (assignment.field == ChannelField::Tf)
            record.tf = assignment.value;
        else if (assignment.field == ChannelField::Bt)
            record.bt = assignment.value;
    }
}

QString outOfRange(const QString &text)
{
    return QStringLiteral("%1 MHz is outside %2 to %3 MHz")
        .arg(text)
        .arg(FrequencyCheck::LowerLimit)
        .arg(FrequencyCheck::UpperLimit);
}

RowCheck refuse(int column, const QString &error)
{
    RowCheck check;
    check.column = column;
    check.error = error;
    return check;
}

QString text(const QVariant &value)
{
    return value.isNull() ? QStringLiteral("Null") : value.toString();
}

/// A spreadsheet pads short rows with empty cells; those are no content.
void dropTrailingEmpty(QStringList &fields, qsizetype keep)
{
    while (fields.size() > keep && fields.last().isEmpty())
        fields.removeLast();
}

QString at(int line, int column, const QString &message)
{
    return QStringLiteral("line %1, column %2: %3").arg(line).arg(column).arg(message);
}

QString atLine(int line, const QString &message)
{
    return QStringLiteral("line %1: %2").arg(line).arg(message);
}

Result parseCsv(const QString &content)
{
    Result result;
    result.format = Format::Csv;
    const QChar separator = CsvRecords::separatorOf(content);
    const CsvRecords::Table table = CsvRecords::read(content, separator);
    if (!table.ok()) {
        result.error = atLine(table.errorLine, QStringLiteral("a quoted field is not closed"));
        return result;
    }

    enum class Expect { Squelch, Header, Rows } expect = Expect::Squelch;
    QList<std::optional<ChannelRecord>> channels(ChannelCount);
    QList<int> lineOfChannel(ChannelCount, 0);
    for (const CsvRecords::Record &record : table.records) {
        const int line = record.line;
        QStringList fields = record.fields;
        switch (expect) {
        case Expect::Squelch: {
            dropTrailingEmpty(fields, 2);
            if (fields.size() != 2 || fields.at(0).compare(SquelchKey, Qt::CaseInsensitive) != 0) {
                result.error = atLine(line, QStringLiteral("expected \"squelch,<level 0 to 9>\""));
                return result;
            }
            const std::optional<QString> level = checkedSquelch(fields.at(1));
            if (!level) {
                result.error = at(line, 2, QStringLiteral("squelch level \"%1\" is not a digit 0 to 9").arg(fields.at(1)));
                return result;
            }
            result.set.squelch = *level;
            expect = Expect::Header;
            break;
        }
        case Expect::Header:
            dropTrailingEmpty(fields, CsvHeader.size());
            if (fields.size() != CsvHeader.size()) {
                result.error = atLine(line, QStringLiteral("expected the header \"%1\"").arg(CsvHeader.join(u',')));
                return result;
            }
            for (int column = 0; column < CsvHeader.size(); ++column) {
                if (fields.at(column).compare(CsvHeader.at(column), Qt::CaseInsensitive) != 0) {
                    result.error = at(line, column + 1, QStringLiteral("expected \"%1\"").arg(CsvHeader.at(column)));
                    return result;
                }
            }
            expect = Expect::Rows;
            break;
        case Expect::Rows: {
            dropTrailingEmpty(fields, CsvHeader.size());
            if (fields.size() != CsvHeader.size()) {
                result.error = atLine(line, QStringLiteral("expected 4 columns, found %1").arg(fields.size()));
                return result;
            }
            bool ok = false;
            const int number = fields.at(0).toInt(&ok);
            if (!ok || number < 1 || number > ChannelCount) {
                result.error = at(line, 1, QStringLiteral("channel \"%1\" is not 1 to %2").arg(fields.at(0)).arg(ChannelCount));
                return result;
            }
            if (channels.at(number - 1)) {
                result.error = at(line, 1, QStringLiteral("channel %1 again (first on line %2)").arg(number).arg(lineOfChannel.at(number - 1)));
                return result;
            }
            const RowCheck check = checkRow(CsvRecords::withDecimalPoint(fields.at(1), separator),
                                            CsvRecords::withDecimalPoint(fields.at(2), separator), fields.at(3));
            if (!check.ok()) {
                result.error = at(line, check.column + 2, check.error);
                return result;
            }
            channels[number - 1] = check.record;
            lineOfChannel[number - 1] = line;
            break;
        }
        }
    }
    if (expect != Expect::Rows) {
        result.error = atLine(table.lastLine + 1, expect == Expect::Squelch ? QStringLiteral("no squelch line") : QStringLiteral("no header"));
        return result;
    }
    if (std::none_of(lineOfChannel.cbegin(), lineOfChannel.cend(), [](int line) { return line > 0; })) {
        result.error = atLine(table.lastLine + 1, QStringLiteral("a header and no channel rows"));
        return result;
    }
    // A list of only the used channels: the channels it leaves out are empty.
    for (const std::optional<ChannelRecord> &channel : std::as_const(channels))
        result.set.channels << channel.value_or(ChannelRecord{QVariant(), emptyText(), emptyText(), emptyText()});
    return result;
}

/// A JSON value as cell text: a string as it is, a number in plain decimals, null or absent as empty.
std::optional<QString> jsonCell(const QJsonValue &value)
{
    if (value.isUndefined() || value.isNull())
        return QString();
    if (value.isString())
        return value.toString().trimmed();
    if (value.isDouble())
        return QString::number(value.toDouble(), 'g', 15);
    return std::nullopt;
}

QString jsonLineColumn(QByteArrayView bytes, int offset)
{
    int line = 1;
    int column = 1;
    for (int i = 0; i < offset && i < bytes.size(); ++i) {
        if (bytes[i] == '\n') {
            ++line;
            column = 1;
        } else {
            ++column;
        }
    }
    return QStringLiteral("line %1, column %2").arg(line).arg(column);
}

Result parseJson(QByteArrayView bytes)
{
    Result result;
    result.format = Format::Json;
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(bytes.toByteArray(), &parseError);
    if (parseError.error != QJsonParseError::NoError) {
        result.error = QStringLiteral("%1: %2").arg(jsonLineColumn(bytes, parseError.offset), parseError.errorString());
        return result;
    }
    if (!document.isObject()) {
        result.error = QStringLiteral("expected an object with \"squelch\" and \"channels\"");
        return result;
    }
    const QJsonObject root = document.object();
    const std::optional<QString> squelchText = jsonCell(root.value(SquelchKey));
    const std::optional<QString> level = squelchText ? checkedSquelch(*squelchText) : std::nullopt;
    if (!level) {
        result.error = QStringLiteral("squelch: not a digit 0 to 9");
        return result;
    }
    const QJsonValue list = root.value(ChannelsKey);
    if (!list.isArray() || list.toArray().size() != ChannelCount) {
        result.error = QStringLiteral("channels: expected a list of %1 channels").arg(ChannelCount);
        return result;
    }
    QList<std::optional<ChannelRecord>> channels(ChannelCount);
    const QJsonArray array = list.toArray();
    for (int index = 0; index < array.size(); ++index) {
        const QString where = QStringLiteral("channels[%1]").arg(index);
        const QJsonObject entry = array.at(index).toObject();
        const int number = entry.value(ChannelKey).toInt(0);
        if (number < 1 || number > ChannelCount) {
            result.error = QStringLiteral("%1.channel: not 1 to %2").arg(where).arg(ChannelCount);
            return result;
        }
        if (channels.at(number - 1)) {
            result.error = QStringLiteral("%1.channel: channel %2 again").arg(where).arg(number);
            return result;
        }
        const QStringList keys = {ReceiveKey, TransmitKey, ShiftKey};
        QStringList cells;
        for (const QString &key : keys) {
            const std::optional<QString> cell = jsonCell(entry.value(key));
            if (!cell) {
                result.error = QStringLiteral("%1.%2: expected a text or a number").arg(where, key);
                return result;
            }
            cells << *cell;
        }
        const RowCheck check = checkRow(cells.at(0), cells.at(1), cells.at(2));
        if (!check.ok()) {
            result.error = QStringLiteral("%1.%2 (channel %3): %4").arg(where, keys.at(check.column)).arg(number).arg(check.error);
            return result;
        }
        channels[number - 1] = check.record;
    }
    result.set.squelch = *level;
    for (const std::optional<ChannelRecord> &record : std::as_const(channels))
        result.set.channels << *record;
    return result;
}

QByteArray composeCsv(const ChannelSet &set)
{
    QByteArray out = "squelch," + set.squelch.toUtf8() + '\n';
    out += CsvHeader.join(u',').toUtf8() + '\n';
    for (int row = 0; row < set.channels.size(); ++row) {
        const ChannelRecord &record = set.channels.at(row);
        out += QByteArray::number(row + 1) + ',' + record.rf.toString().toUtf8() + ',' + record.tf.toString().toUtf8() + ','
            + record.bt.toString().toUtf8() + '\n';
    }
    return out;
}

QByteArray composeJson(const ChannelSet &set)
{
    QJsonArray channels;
    for (int row = 0; row < set.channels.size(); ++row) {
        const ChannelRecord &record = set.channels.at(row);
        channels.append(QJsonObject{{ChannelKey, row + 1},
                                    {ReceiveKey, record.rf.toString()},
                                    {TransmitKey, record.tf.toString()},
                                    {ShiftKey, record.bt.toString()}});
    }
    return QJsonDocument(QJsonObject{{SquelchKey, set.squelch}, {ChannelsKey, channels}}).toJson(QJsonDocument::Indented);
}

} // namespace

std::optional<Format> formatNamed(const QString &name)
{
    const QString lower = name.trimmed().toLower();
    if (lower == u"chan" || lower == u"channel")
        return Format::Channel;
    if (lower == u"csv")
        return Format::Csv;
    if (lower == u"json")
        return Format::Json;
    if (lower == u"chirp")
        return Format::Chirp;
    return std::nullopt;
}

Format formatOfPath(const QString &path)
{
    if (path.endsWith(QStringLiteral(".csv"), Qt::CaseInsensitive))
        return Format::Csv;
    if (path.endsWith(QStringLiteral(".json"), Qt::CaseInsensitive))
        return Format::Json;
    return Format::Channel;
}

RowCheck checkRow(const QString &receiveCell, const QString &transmitCell, const QString &shiftCell)
{
    const QString receive = receiveCell.trimmed();
    const QString transmit = transmitCell.trimmed();
    const std::optional<QString> shiftText = ChannelRule::shiftText(shiftCell);
    if (!shiftText)
        return refuse(2, QStringLiteral("shift \"%1\" is not on or off").arg(shiftCell));
    const QString shift = *shiftText;
    if (!ChannelRule::isFrequencyText(receive))
        return refuse(0, QStringLiteral("\"%1\" is not a frequency in MHz").arg(receiveCell));
    if (!ChannelRule::isFrequencyText(transmit))
        return refuse(1, QStringLiteral("\"%1\" is not a frequency in MHz").arg(transmitCell));

    RowCheck check;
    if (isEmptySide(receive)) {
        // The grid would drop these without a word; in a file they are more likely a mistake.
        if (!isEmptySide(transmit))
            return refuse(1, QStringLiteral("a transmit frequency needs a receive frequency"));
        if (shift == u"on")
            return refuse(2, QStringLiteral("shift on needs a receive frequency"));
        check.record = {QVariant(), emptyText(), emptyText(), emptyText()};
        return check;
    }

    // The grid's order: typing the receive frequency copies it to transmit and switches the shift
    // off; then the transmit frequency is typed; then the shift chosen.
    check.record.rf = receive;
    FrequencyCheck::Outcome outcome = FrequencyCheck::afterEdit(ChannelField::Rf, check.record);
    if (outcome.outOfRange)
        return refuse(0, outOfRange(receive));
    apply(check.record, outcome.assignments);

    check.record.tf = transmit.isEmpty() ? emptyText() : QVariant(transmit);
    outcome = FrequencyCheck::afterEdit(ChannelField::Tf, check.record);
    if (outcome.outOfRange)
        return refuse(1, outOfRange(transmit));
    apply(check.record, outcome.assignments);

    if (shift == u"on")
        check.record.bt = QStringLiteral("on");
    return check;
}

std::optional<QString> checkedSquelch(const QString &text)
{
    const QString level = text.trimmed();
    if (level.isEmpty())
        return level;
    if (level.size() == 1 && level.at(0) >= u'0' && level.at(0) <= u'9')
        return level;
    return std::nullopt;
}

Result checkSet(const ChannelSet &set)
{
    Result result;
    const std::optional<QString> level = checkedSquelch(set.squelch);
    if (!level) {
        result.error = QStringLiteral("item 1: squelch level \"%1\" is not a digit 0 to 9").arg(set.squelch);
        return result;
    }
    result.set.squelch = *level;
    for (int row = 0; row < set.channels.size(); ++row) {
        const ChannelRecord &record = set.channels.at(row);
        const RowCheck check = checkRow(text(record.rf), text(record.tf), text(record.bt));
        if (!check.ok()) {
            result.error = QStringLiteral("item %1 (channel %2): %3").arg(2 + 3 * row + check.column).arg(row + 1).arg(check.error);
            result.set = {};
            return result;
        }
        result.set.channels << check.record;
    }
    return result;
}

Result parse(QByteArrayView bytes, Format format, const ReadOptions &options)
{
    switch (format) {
    case Format::Csv: {
        const QString content = CsvRecords::textOf(bytes.toByteArray());
        return ChirpSheet::hasChirpHeader(content) ? ChirpSheet::parse(content, options) : parseCsv(content);
    }
    case Format::Chirp:
        return ChirpSheet::parse(CsvRecords::textOf(bytes.toByteArray()), options);
    case Format::Json:
        return parseJson(bytes);
    case Format::Channel:
        break;
    }
    const ChannelFile::ReadResult read = ChannelFile::parse(bytes);
    if (read.error != ChannelFile::ReadError::None) {
        Result result;
        if (read.error == ChannelFile::ReadError::NotFrequency) {
            const int channel = (read.item - 2) / 3 + 1;
            const QString problem = (read.item - 1) % 3 == 0 ? QStringLiteral("shift \"%1\" is not on or off").arg(read.detail)
                                                             : QStringLiteral("\"%1\" is not a frequency in MHz").arg(read.detail);
            result.error = QStringLiteral("item %1 (channel %2): %3").arg(read.item).arg(channel).arg(problem);
        } else {
            result.error = read.error == ChannelFile::ReadError::NotText
                               ? QStringLiteral("not a text file")
                               : QStringLiteral("fewer than %1 items").arg(ChannelFile::ItemCount);
        }
        return result;
    }
    return checkSet(read.set);
}

Result load(const QString &path, Format format, const ReadOptions &options)
{
    Result result;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        result.error = QStringLiteral("%1: %2").arg(path, file.errorString());
        return result;
    }
    const QByteArray bytes = file.read(ChannelFile::MaxFileBytes + 1);
    if (bytes.size() > ChannelFile::MaxFileBytes) {
        result.error = QStringLiteral("%1: larger than %2 MiB; not read").arg(path).arg(ChannelFile::MaxFileBytes >> 20);
        return result;
    }
    if (file.error() != QFileDevice::NoError || !file.atEnd()) {
        result.error = QStringLiteral("%1: %2").arg(path, file.errorString());
        return result;
    }
    result = parse(bytes, format, options);
    if (!result.ok())
        result.error = QStringLiteral("%1: %2").arg(path, result.error);
    for (QString &warning : result.warnings)
        warning = QStringLiteral("%1: %2").arg(path, warning);
    return result;
}

Result load(const QString &path, const ReadOptions &options)
{
    return load(path, formatOfPath(path), options);
}

Composed compose(const ChannelSet &set, Format format)
{
    Composed composed;
    switch (format) {
    case Format::Csv:
        composed.bytes = composeCsv(set);
        break;
    case Format::Json:
        composed.bytes = composeJson(set);
        break;
    case Format::Chirp:
        return ChirpSheet::compose(set);
    case Format::Channel: {
        const ChannelFile::WriteResult written = ChannelFile::compose(set.squelch, set.channels);
        if (written.error == ChannelFile::WriteError::SeparatorInValue)
            composed.error = QStringLiteral("the value \"%1\" holds a comma or a line end").arg(written.detail);
        else if (written.error != ChannelFile::WriteError::None)
            composed.error = QStringLiteral("not %1 channels").arg(ChannelCount);
        else
            composed.bytes = written.bytes;
        break;
    }
    }
    return composed;
}

QString save(const QString &path, const ChannelSet &set, Format format, QStringList *warnings)
{
    const Composed composed = compose(set, format);
    if (warnings)
        *warnings = composed.warnings;
    if (!composed.ok())
        return QStringLiteral("%1: %2").arg(path, composed.error);
    return OutputTarget::write(path, composed.bytes);
}

} // namespace ChannelSheet
