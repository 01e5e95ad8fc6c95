// Line breaking at runs of blanks, as the designed texts expect: a word (a run without blanks)
// goes onto the next line when it does not fit whole; only a word wider than a line is split.
#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

#include <functional>

namespace BlankWrap {

/// The width a piece of text takes on the screen.
using Measure = std::function<qreal(QStringView)>;

/// The text cut into lines no wider than `width`; blanks stay at the end of the line before a
/// break, so the lines joined give the text back unchanged.
QStringList lines(const QString &text, qreal width, const Measure &measure);

} // namespace BlankWrap
