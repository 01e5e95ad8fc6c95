#include "core/files/sheettext.h"

#include <QCoreApplication>

SheetText SheetText::of(const char *english, const char *shown)
{
    return {QString::fromUtf8(english), QCoreApplication::translate("SheetMessages", shown)};
}
