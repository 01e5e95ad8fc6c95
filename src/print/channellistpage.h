// The channel list on one page, for the printer, the window's PDF export and qz300-cli alike:
// a technician keeps it beside the radio. Needs Qt Gui and a QGuiApplication, no widgets.
#pragma once

#include "core/channels/channelset.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>

class QPagedPaintDevice;

namespace ChannelListPage {

struct Content
{
    ChannelSet set;
    QString port;        ///< the port the window is on, or what stands for none
    QString source;      ///< the channel file the set came from; empty: none named
    QDateTime printedAt; ///< the date and time on the page
};

/// The title at the head of the page and of the PDF's document properties.
QString title();

/// Draws the page onto the device (a printer or a PDF writer); an error text or an empty one.
QString draw(QPagedPaintDevice *device, const Content &content);

/// The page as an A4 PDF document; empty bytes and the error when it could not be drawn.
QByteArray pdf(const Content &content, QString *error);

} // namespace ChannelListPage
