#include "core/info/programtexts.h"

#include <QCoreApplication>
#include <QTranslator>

namespace ProgramTexts {

namespace {

class EnglishExcept : public QTranslator
{
public:
    EnglishExcept(const QStringList &keptContexts, QObject *parent)
        : QTranslator(parent)
        , m_kept(keptContexts)
    {
    }

    QString translate(const char *context, const char *sourceText, const char *disambiguation, int n) const override
    {
        if (context && m_kept.contains(QLatin1String(context)))
            return QString();
        return QTranslator::translate(context, sourceText, disambiguation, n);
    }

private:
    QStringList m_kept;
};

} // namespace

bool installEnglish(const QStringList &keptContexts)
{
    auto *translator = new EnglishExcept(keptContexts, QCoreApplication::instance());
    if (!translator->load(QString::fromLatin1(EnglishCatalogue)) || !QCoreApplication::installTranslator(translator)) {
        delete translator;
        return false;
    }
    return true;
}

} // namespace ProgramTexts
