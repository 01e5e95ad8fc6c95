#include "window/print/printcommands.h"

#include "core/files/exportfolder.h"
#include "core/files/outputtarget.h"
#include "window/files/filedialogs.h"
#include "window/ui/commandhost.h"
#include "window/ui/messagebox.h"
#include "window/ui/translatedtext.h"

#include <QDir>
#include <QFileInfo>
#include <QPrintPreviewDialog>
#include <QPrinter>

namespace {

PrintCommands::PreviewShower &previewShower()
{
    static PrintCommands::PreviewShower shower;
    return shower;
}

const TranslatedText PdfFilter("PrintCommands", QT_TRANSLATE_NOOP("PrintCommands", "PDF 文件 (*.pdf)"));

} // namespace

PrintCommands::PrintCommands(CommandHost &host, ContentSource content, QObject *parent)
    : QObject(parent)
    , m_host(host)
    , m_content(std::move(content))
{
}

PrintCommands::PreviewShower PrintCommands::setPreviewShower(PreviewShower shower)
{
    return std::exchange(previewShower(), std::move(shower));
}

bool PrintCommands::ready()
{
    // A transfer walks the table on its own; the menu is off then, and this holds for a command
    // that arrives by another way.
    if (m_host.activity() != CommandHost::Activity::Idle)
        return false;
    return m_host.commitOpenCell();
}

void PrintCommands::print()
{
    if (!ready())
        return;
    const ChannelListPage::Content content = m_content();
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setDocName(ChannelListPage::title());
    QPrintPreviewDialog dialog(&printer, m_host.dialogParent());
    dialog.setWindowTitle(tr("打印预览"));
    QString problem;
    connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog, [&content, &problem](QPrinter *target) {
        problem = ChannelListPage::draw(target, content);
    });
    if (previewShower())
        previewShower()(dialog);
    else
        dialog.exec();
    if (!problem.isEmpty())
        Messages::show(m_host.dialogParent(), Messages::applicationTitle(), tr("无法打印信道表 ！！\n%1").arg(problem),
                       Messages::Icon::Warning);
}

void PrintCommands::exportPdf()
{
    if (!ready())
        return;
    FileDialogs::Request request;
    request.mode = FileDialogs::Mode::Save;
    request.filter = PdfFilter;
    // Where the last export went; a name from an import is never carried over.
    request.initialName = ExportFolder::startName(tr("信道表.pdf"));
    request.suffixFromFilter = true;
    QString path = FileDialogs::ask(m_host.dialogParent(), request).fileName;
    if (path.isEmpty())
        return;
    if (QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".pdf");
    QString problem;
    const QByteArray bytes = ChannelListPage::pdf(m_content(), &problem);
    if (problem.isEmpty())
        problem = OutputTarget::write(path, bytes);
    if (!problem.isEmpty()) {
        Messages::show(m_host.dialogParent(), Messages::applicationTitle(),
                       tr("文件 %1 无法导出 ！！\n%2").arg(QDir::toNativeSeparators(path), problem), Messages::Icon::Warning);
        return;
    }
    ExportFolder::remember(path);
    m_host.cancelStatusClearing();
    m_host.setStatusText(tr("已导出 %1").arg(QFileInfo(path).fileName()));
}
