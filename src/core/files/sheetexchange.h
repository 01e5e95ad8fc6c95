// The choices behind 导入 and 导出: which layouts the dialogs offer, which one a chosen file is
// read or written in, the name an export goes to, and how a list of warnings is shown.
#pragma once

#include "core/files/channelsheet.h"

#include <QString>
#include <QStringList>

namespace SheetExchange {

/// The file chooser's filter for importing: CHIRP CSV, our CSV, JSON, then all files.
QString importFilter();
/// The filter for exporting: the three layouts, one entry each.
QString exportFilter();

/// The layout an export to `path` is written in: the one its extension names (".json" JSON,
/// ".csv" a CSV layout), else the one of the filter entry with this index (CHIRP CSV for an
/// unknown index).
ChannelSheet::Format exportFormat(const QString &path, int filterIndex);
/// The name an export goes to: the typed name, with the entry's extension when it has none.
QString exportPath(const QString &typed, int filterIndex);

/// How an imported file is read: by its extension when that names a layout, otherwise by the
/// filter entry chosen; either CSV entry lets the sheet's header tell CHIRP from our CSV.
ChannelSheet::Format importFormat(const QString &path, int filterIndex);

/// At most `cap` lines, one a line, and "…还有 N 条" for the rest.
QString listed(const QStringList &lines, int cap = 20);

/// A core text with the "path: " it starts with left out, for a box that names the file itself.
QString withoutPath(const QString &text, const QString &path);

} // namespace SheetExchange
