#include "print/channellistpage.h"

#include "print/fonts.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QPageLayout>
#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>

namespace ChannelListPage {

namespace {

constexpr int PdfResolution = 300;
// Share of the page width per column: channel, receive, transmit, shift.
constexpr double ColumnShares[] = {0.16, 0.32, 0.32, 0.20};

QString cellText(const QVariant &value)
{
    return value.isNull() ? QString() : value.toString().trimmed();
}

QString shownOrDash(const QString &text)
{
    return text.trimmed().isEmpty() ? QStringLiteral("—") : text;
}

} // namespace

QString title()
{
    return QCoreApplication::translate("ChannelListPage", "QZ300 对讲机信道表");
}

QString draw(QPagedPaintDevice *device, const Content &content)
{
    Fonts::installSubstitutes();
    QPainter painter;
    if (!painter.begin(device))
        return QCoreApplication::translate("ChannelListPage", "无法在打印设备上绘图");

    const int width = device->width();
    const int height = device->height();
    const QFont titleFont = Fonts::font(Fonts::kai(), 18);
    const QFont bodyFont = Fonts::font(Fonts::song(), 11);
    const QFont headFont = Fonts::font(Fonts::kai(), 12);
    const int line = QFontMetrics(bodyFont, device).height();
    QPen thin = painter.pen();
    thin.setWidth(qMax(1, line / 20));
    painter.setPen(thin);

    int y = 0;
    painter.setFont(titleFont);
    const int titleHeight = QFontMetrics(titleFont, device).height();
    painter.drawText(QRect(0, y, width, titleHeight), Qt::AlignHCenter | Qt::AlignVCenter, title());
    y += titleHeight + line;

    painter.setFont(bodyFont);
    QStringList facts = {
        QCoreApplication::translate("ChannelListPage", "日期时间：%1").arg(content.printedAt.toString(QStringLiteral("yyyy-MM-dd HH:mm"))),
        QCoreApplication::translate("ChannelListPage", "端口：%1").arg(shownOrDash(content.port)),
        QCoreApplication::translate("ChannelListPage", "静噪级别：%1").arg(shownOrDash(content.set.squelch.trimmed())),
    };
    if (!content.source.isEmpty())
        facts.append(QCoreApplication::translate("ChannelListPage", "信道文件：%1").arg(content.source));
    for (const QString &fact : std::as_const(facts)) {
        painter.drawText(QRect(0, y, width, line), Qt::AlignLeft | Qt::AlignVCenter, fact);
        y += line;
    }
    y += line / 2;

    const QStringList heads = {QCoreApplication::translate("ChannelListPage", "信道号"), QCoreApplication::translate("ChannelListPage", "接收频率 (MHz)"), QCoreApplication::translate("ChannelListPage", "发送频率 (MHz)"),
                               QCoreApplication::translate("ChannelListPage", "拍频")};
    const int rowHeight = line * 3 / 2;
    const int pad = line / 3;
    auto drawRow = [&](const QStringList &cells, const QFont &font) {
        painter.setFont(font);
        int x = 0;
        for (int column = 0; column < cells.size(); ++column) {
            const int cellWidth = column + 1 == cells.size() ? width - x : int(width * ColumnShares[column]);
            const QRect cell(x, y, cellWidth, rowHeight);
            painter.drawRect(cell);
            painter.drawText(cell.adjusted(pad, 0, -pad, 0), Qt::AlignLeft | Qt::AlignVCenter, cells.at(column));
            x += cellWidth;
        }
        y += rowHeight;
    };
    drawRow(heads, headFont);
    for (int row = 0; row < ChannelCount; ++row) {
        const ChannelRecord record = row < content.set.channels.size() ? content.set.channels.at(row) : ChannelRecord{};
        drawRow({QString::number(row + 1), cellText(record.rf), cellText(record.tf), cellText(record.bt)}, bodyFont);
    }

    // The rest of the page is ruled for notes written by hand.
    y += line;
    painter.setFont(headFont);
    painter.drawText(QRect(0, y, width, rowHeight), Qt::AlignLeft | Qt::AlignVCenter, QCoreApplication::translate("ChannelListPage", "备注："));
    y += rowHeight * 2;
    for (; y < height; y += rowHeight)
        painter.drawLine(0, y, width, y);

    if (!painter.end())
        return QCoreApplication::translate("ChannelListPage", "无法完成打印页");
    return QString();
}

QByteArray pdf(const Content &content, QString *error)
{
    // Without a font for Chinese the page comes out as boxes that look like a finished document.
    if (QFontDatabase::families(QFontDatabase::SimplifiedChinese).isEmpty()) {
        if (error)
            *error = QCoreApplication::translate("PageFonts", "没有含中文字形的字体，信道表会印成方框：请安装 fonts-arphic-ukai 和 fonts-arphic-uming");
        return QByteArray();
    }
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setPageMargins(QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter);
        writer.setResolution(PdfResolution);
        writer.setTitle(title());
        writer.setCreator(QStringLiteral("qz300"));
        const QString problem = draw(&writer, content);
        if (!problem.isEmpty()) {
            if (error)
                *error = problem;
            return QByteArray();
        }
    }
    if (error)
        error->clear();
    return buffer.data();
}

} // namespace ChannelListPage
