// 文件 → 打印… and 文件 → 导出 PDF…: the channel list page from the window, on paper or as a PDF.
#pragma once

#include "print/channellistpage.h"

#include <QObject>

#include <functional>

class CommandHost;
class QPrintPreviewDialog;

class PrintCommands : public QObject
{
    Q_OBJECT

public:
    /// What the page shows at the moment of printing.
    using ContentSource = std::function<ChannelListPage::Content()>;
    /// Shows the preview dialog until the user closes it; tests replace it, since it is modal.
    using PreviewShower = std::function<void(QPrintPreviewDialog &dialog)>;

    PrintCommands(CommandHost &host, ContentSource content, QObject *parent = nullptr);

    /// Replaces how the preview is shown; returns the previous one. Empty restores the default.
    static PreviewShower setPreviewShower(PreviewShower shower);

    void print();
    void exportPdf();

private:
    /// False while a transfer runs or when the grid's open cell was refused (the user was told).
    bool ready();

    CommandHost &m_host;
    ContentSource m_content;
};
