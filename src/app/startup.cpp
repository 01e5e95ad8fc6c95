#include "app/startup.h"

#include "app/mainwindow.h"
#include "core/channels/channeltable.h"
#include "window/ui/messagebox.h"

#include <QCoreApplication>

namespace Startup {

std::unique_ptr<MainWindow> run(const QString &databasePath, const PortTable &ports, MainWindow::LinkStart start)
{
    auto opened = ChannelTable::open(databasePath);
    while (opened.inUse) {
        Messages::Question question;
        question.title = QCoreApplication::translate("Startup", "系统信息");
        question.text = opened.error;
        question.icon = Messages::Icon::Warning;
        question.buttons = {QCoreApplication::translate("Startup", "重试"), QCoreApplication::translate("Startup", "退出")};
        if (Messages::ask(nullptr, question) != 0)
            return nullptr;
        opened = ChannelTable::open(databasePath);
    }
    if (!opened.table) {
        Messages::show(nullptr, QCoreApplication::translate("Startup", "系统信息"), opened.error, Messages::Icon::Critical);
        return nullptr;
    }
    auto window = std::make_unique<MainWindow>(std::move(opened.table), ports);
    if (!window->startUp(start))
        return nullptr;
    return window;
}

} // namespace Startup
