// Renders the main window and the three small windows into PNG files for the README:
//   qz300-screenshots [--lang zh|en] <directory>
// Pseudo-terminals stand in for the serial ports, so no real device is opened.
#include "app/languagechoice.h"
#include "app/mainwindow.h"
#include "app/startup.h"
#include "core/channels/channeltable.h"
#include "core/serial/seriallink.h"
#include "print/fonts.h"
#include "pseudoterminal.h"
#include "window/info/aboutbox.h"
#include "window/info/instructionswindow.h"
#include "window/radio/portdialog.h"
#include "window/ui/designnames.h"
#include "window/ui/messagebox.h"
#include "window/ui/translations.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QSerialPort>
#include <QTemporaryDir>
#include <QTextStream>
#include <QThread>

namespace {

bool save(QWidget *window, const QString &path)
{
    window->show();
    window->raise();
    for (int i = 0; i < 10; ++i) {
        QApplication::processEvents();
        QThread::msleep(20);
    }
    const bool saved = window->grab().save(path);
    QTextStream(stderr) << (saved ? "wrote " : "could not write ") << path << '\n';
    return saved;
}

template <typename Window>
Window *openFrom(MainWindow &main, const QString &command, const QString &name)
{
    main.findChild<QAction *>(command)->trigger();
    return main.findChild<Window *>(name);
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    Fonts::installSubstitutes();
    QStringList arguments = QCoreApplication::arguments().mid(1);
    // The pictures of one language; the user's kept choice plays no part.
    auto language = Translations::Language::Chinese;
    if (arguments.size() >= 2 && arguments.first() == QLatin1String("--lang")) {
        const auto chosen = LanguageChoice::fromCode(arguments.at(1));
        if (!chosen) {
            QTextStream(stderr) << "qz300-screenshots: --lang takes zh or en\n";
            return 2;
        }
        language = *chosen;
        arguments = arguments.mid(2);
    }
    Translations::installProgramTexts(language);
    Translations::installQtTexts(language);
    const QDir out(arguments.isEmpty() ? QStringLiteral("docs") : arguments.first());
    if (!out.exists() && !QDir().mkpath(out.path()))
        return 1;
    Messages::setHandler([](QWidget *, const Messages::Message &message) {
        QTextStream(stderr) << message.title << ": " << message.text << '\n';
    });

    // COM1, COM2 and COM5 free, COM3 held by another program, the others without a device.
    PseudoTerminal com1, com2, com3, com5;
    const PortTable ports({com1.devicePath(), com2.devicePath(), com3.devicePath(), QString(), com5.devicePath()});
    QTemporaryDir dir;
    const auto main = Startup::run(dir.filePath(QStringLiteral("qz3300E.mdb")), ports);
    if (!main)
        return 1;
    main->serialLink().close();
    QSerialPort otherProgram(com3.devicePath());
    otherProgram.open(QIODevice::ReadWrite);
    main->serialLink().setPortNumber(2);
    main->serialLink().open();

    // A few channels so that the grid shows what it is for.
    const char *frequencies[][2] = {{"145.50000", "145.50000"}, {"145.52500", "145.52500"}, {"438.50000", "430.90000"},
                                    {"150.02500", "150.02500"}};
    ChannelTable &table = main->channelTable();
    table.moveFirst();
    for (const auto &pair : frequencies) {
        table.setField(1, QString::fromLatin1(pair[0]));
        table.setField(2, QString::fromLatin1(pair[1]));
        table.setField(3, QStringLiteral("off"));
        table.moveNext();
    }
    table.moveFirst();
    main->setStatusText(QCoreApplication::translate("MainWindow", "对讲机就绪..."));

    bool ok = save(main.get(), out.filePath(QStringLiteral("main-window.png")));
    if (auto *dialog = openFrom<PortDialog>(*main, DesignNames::Main::portCommand(), DesignNames::PortChoice::window()))
        ok = save(dialog, out.filePath(QStringLiteral("port-dialog.png"))) && ok;
    else
        ok = false;
    if (auto *about = openFrom<AboutBox>(*main, DesignNames::Main::aboutCommand(), DesignNames::About::window()))
        ok = save(about, out.filePath(QStringLiteral("about.png"))) && ok;
    else
        ok = false;
    if (auto *instructions = openFrom<InstructionsWindow>(*main, DesignNames::Main::instructionsCommand(),
                                                         DesignNames::Instructions::window()))
        ok = save(instructions, out.filePath(QStringLiteral("instructions.png"))) && ok;
    else
        ok = false;
    main->close();
    return ok ? 0 : 1;
}
