#include "app/languagechoice.h"
#include "app/mainwindow.h"
#include "app/startup.h"
#include "core/files/programsettings.h"
#include "recordedmessages.h"
#include "window/channels/channelgrid.h"
#include "window/ui/translations.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QLocale>
#include <QMenu>
#include <QMenuBar>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>

#include <algorithm>
#include <memory>

// The window in English on request: the catalogue, the choice of language (--lang, the kept
// setting, never the system's locale), the window and its boxes in English, and --help.
class tst_Language : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void catalogueIsComplete();
    void catalogueMatchesTheSources();
    void englishIsNatural();
    void noChineseTextLeftOutside();
    void languageForThisStart_data();
    void languageForThisStart();
    void systemLocaleIsIgnored();
    void windowInEnglish();
    void noPortBoxInEnglish();
    void menuKeepsTheChoice();
    void programHelp_data();
    void programHelp();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
};

namespace {

using Translations::Language;

struct Entry
{
    QString context;
    QString source;
    QString translation;
    QString type;
};

QList<Entry> readCatalogue(const QString &path, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = file.errorString();
        return {};
    }
    QList<Entry> entries;
    QXmlStreamReader xml(&file);
    QString context;
    Entry entry;
    while (!xml.atEnd()) {
        xml.readNext();
        if (!xml.isStartElement())
            continue;
        if (xml.name() == QLatin1String("name")) {
            context = xml.readElementText();
        } else if (xml.name() == QLatin1String("message")) {
            entry = Entry{context, {}, {}, {}};
        } else if (xml.name() == QLatin1String("source")) {
            entry.source = xml.readElementText();
        } else if (xml.name() == QLatin1String("translation")) {
            entry.type = xml.attributes().value(QLatin1String("type")).toString();
            entry.translation = xml.readElementText();
            entries << entry;
        }
    }
    if (xml.hasError())
        *error = xml.errorString();
    return entries;
}

QStringList placeholders(const QString &text)
{
    static const QRegularExpression marker(QStringLiteral("%\\d+"));
    QStringList found;
    for (auto it = marker.globalMatch(text); it.hasNext();)
        found << it.next().captured();
    found.sort();
    return found;
}

void clearKeptSettings()
{
    // Under the test's own home (tests/CMakeLists.txt), never the user's.
    ProgramSettings::open()->clear();
}

QString menuTitle(const MainWindow &window, const QString &name)
{
    auto *menu = window.findChild<QMenu *>(name);
    return menu ? menu->title() : QStringLiteral("(no menu %1)").arg(name);
}

QString actionText(const MainWindow &window, const QString &name)
{
    auto *action = window.findChild<QAction *>(name);
    return action ? action->text() : QStringLiteral("(no action %1)").arg(name);
}

} // namespace

void tst_Language::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    clearKeptSettings();
}

void tst_Language::cleanup()
{
    Translations::installProgramTexts(Language::Chinese);
    Translations::installQtTexts(Language::Chinese);
    QLocale::setDefault(QLocale::system());
    m_dir.reset();
}

void tst_Language::catalogueIsComplete()
{
    QString error;
    const QList<Entry> entries = readCatalogue(QStringLiteral(QZ300_CATALOGUE), &error);
    QVERIFY2(error.isEmpty(), qPrintable(error));
    QVERIFY(entries.size() > 100);
    QStringList faults;
    for (const Entry &entry : entries) {
        const QString where = entry.context + QStringLiteral(": ") + entry.source;
        if (!entry.type.isEmpty())
            faults << QStringLiteral("%1 (%2)").arg(where, entry.type);
        else if (entry.translation.trimmed().isEmpty())
            faults << QStringLiteral("%1 (no translation)").arg(where);
        else if (placeholders(entry.source) != placeholders(entry.translation))
            faults << QStringLiteral("%1 (placeholders differ: %2)").arg(where, entry.translation);
        else if (entry.source.contains(QLatin1String("(&")) && entry.translation.count(u'&') != 1)
            faults << QStringLiteral("%1 (one & for the menu key: %2)").arg(where, entry.translation);
    }
    QVERIFY2(faults.isEmpty(), qPrintable(faults.join(u'\n')));
}

// English has no doubled marks (the Chinese texts' "！！" and "，，，" carried over) and one name for
// each thing the window shows.
void tst_Language::englishIsNatural()
{
    QString error;
    const QList<Entry> entries = readCatalogue(QStringLiteral(QZ300_CATALOGUE), &error);
    QVERIFY2(error.isEmpty(), qPrintable(error));
    static const QRegularExpression doubled(QStringLiteral("!!|,,|\\.\\.\\.\\.|[！，。：；]"));
    static const QRegularExpression otherNames(QStringLiteral("\\b(Maker|Verify failed|Offline editing|Shift:)"));
    QStringList faults;
    for (const Entry &entry : entries) {
        if (doubled.match(entry.translation).hasMatch())
            faults << QStringLiteral("%1: %2 (doubled or Chinese marks)").arg(entry.context, entry.translation);
        if (otherNames.match(entry.translation).hasMatch())
            faults << QStringLiteral("%1: %2 (another name)").arg(entry.context, entry.translation);
    }
    QVERIFY2(faults.isEmpty(), qPrintable(faults.join(u'\n')));
}

// A text wrapped for translation since the catalogue was last brought up to date (or one that went
// away) shows up here: lupdate is run on a copy, as the update_translations target runs it.
void tst_Language::catalogueMatchesTheSources()
{
    const QString copy = m_dir->filePath(QStringLiteral("qz300_en.ts"));
    QVERIFY(QFile::copy(QStringLiteral(QZ300_CATALOGUE), copy));
    QFile::setPermissions(copy, QFile::ReadOwner | QFile::WriteOwner);
    QProcess lupdate;
    lupdate.setProcessChannelMode(QProcess::MergedChannels);
    lupdate.start(QStringLiteral(QZ300_LUPDATE), {QStringLiteral("-I"), QStringLiteral(QZ300_SOURCES), QStringLiteral("-no-obsolete"),
                                                  QStringLiteral("-locations"), QStringLiteral("none"), QStringLiteral(QZ300_SOURCES),
                                                  QStringLiteral("-ts"), copy});
    QVERIFY(lupdate.waitForFinished(60000));
    QVERIFY2(lupdate.exitCode() == 0, lupdate.readAll().constData());

    QString error;
    const QList<Entry> committed = readCatalogue(QStringLiteral(QZ300_CATALOGUE), &error);
    const QList<Entry> current = readCatalogue(copy, &error);
    QVERIFY2(error.isEmpty(), qPrintable(error));
    QSet<QString> committedKeys;
    for (const Entry &entry : committed)
        committedKeys << entry.context + u'|' + entry.source;
    QStringList added;
    QSet<QString> currentKeys;
    for (const Entry &entry : current) {
        currentKeys << entry.context + u'|' + entry.source;
        if (!committedKeys.contains(entry.context + u'|' + entry.source))
            added << entry.context + QStringLiteral(": ") + entry.source;
    }
    QStringList gone;
    for (const QString &key : std::as_const(committedKeys)) {
        if (!currentKeys.contains(key))
            gone << key;
    }
    QVERIFY2(added.isEmpty(), qPrintable(QStringLiteral("not in translations/qz300_en.ts:\n") + added.join(u'\n')));
    QVERIFY2(gone.isEmpty(), qPrintable(QStringLiteral("no longer in the sources:\n") + gone.join(u'\n')));
}

// Every Chinese text of the window goes through tr() or translate(); the exceptions are names
// that never reach the screen and texts shown in both languages on purpose.
void tst_Language::noChineseTextLeftOutside()
{
    static const QRegularExpression bareChinese(QStringLiteral("QStringLiteral\\(\\s*\"[^\"]*[\\x{3000}-\\x{9fff}\\x{ff00}-\\x{ffef}]"));
    static const QStringList exempt{QStringLiteral("cli/"),                  // the command line speaks English
                                    QStringLiteral("window/ui/designnames.h"), // object names of the design
                                    QStringLiteral("print/fonts.h"),          // font family names
                                    QStringLiteral("app/languagechoice.cpp"), // both languages at once
                                    QStringLiteral("app/languagemenu.cpp")};
    const QString root = QStringLiteral(QZ300_SOURCES);
    QStringList found;
    QDirIterator it(root, {QStringLiteral("*.cpp"), QStringLiteral("*.h")}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QString relative = path.mid(root.size() + 1);
        if (std::any_of(exempt.begin(), exempt.end(), [&](const QString &prefix) { return relative.startsWith(prefix); }))
            continue;
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QStringList lines = QString::fromUtf8(file.readAll()).split(u'\n');
        for (qsizetype i = 0; i < lines.size(); ++i) {
            if (bareChinese.match(lines.at(i)).hasMatch())
                found << QStringLiteral("%1:%2: %3").arg(relative).arg(i + 1).arg(lines.at(i).trimmed());
        }
    }
    QVERIFY2(found.isEmpty(), qPrintable(found.join(u'\n')));
}

void tst_Language::languageForThisStart_data()
{
    QTest::addColumn<QString>("kept");
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<bool>("english");
    QTest::addColumn<bool>("refused");
    QTest::newRow("nothing kept, no option") << QString() << QStringList{} << false << false;
    QTest::newRow("--lang en") << QString() << QStringList{"--lang", "en"} << true << false;
    QTest::newRow("--lang=EN") << QString() << QStringList{"--lang=EN"} << true << false;
    QTest::newRow("kept en") << "en" << QStringList{"--offline"} << true << false;
    QTest::newRow("--lang zh over kept en") << "en" << QStringList{"--lang", "zh", "--offline"} << false << false;
    QTest::newRow("the last --lang counts") << QString() << QStringList{"--lang", "zh", "--lang", "en"} << true << false;
    QTest::newRow("a kept code not known") << "klingon" << QStringList{} << false << false;
    QTest::newRow("--lang fr") << QString() << QStringList{"--lang", "fr"} << false << true;
    QTest::newRow("--lang= empty") << "en" << QStringList{"--lang="} << false << true;
}

void tst_Language::languageForThisStart()
{
    QFETCH(QString, kept);
    QFETCH(QStringList, arguments);
    QFETCH(bool, english);
    QFETCH(bool, refused);
    if (!kept.isEmpty()) {
        // As a user's earlier choice left it, written without the program's help.
        ProgramSettings::open()->setValue(QStringLiteral("window/language"), kept);
    }
    const LanguageChoice::Choice choice = LanguageChoice::fromArguments(QStringList{"qz300"} + arguments);
    QCOMPARE(!choice.error.isEmpty(), refused);
    if (refused) {
        QVERIFY2(choice.error.contains(QLatin1String("zh")) && choice.error.contains(QLatin1String("en")), qPrintable(choice.error));
        return;
    }
    QCOMPARE(choice.language, english ? Language::English : Language::Chinese);
}

void tst_Language::systemLocaleIsIgnored()
{
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    qputenv("LANG", "en_US.UTF-8");
    qputenv("LC_ALL", "en_US.UTF-8");
    QCOMPARE(LanguageChoice::fromArguments({QStringLiteral("qz300")}).language, Language::Chinese);
    auto window = Startup::run(m_dir->filePath(QStringLiteral("qz3300E.mdb")), PortTable(), MainWindow::LinkStart::Offline);
    QVERIFY(window);
    QCOMPARE(window->windowTitle(), QStringLiteral("QZ300 版本 [ A 1.1 ]"));
    QCOMPARE(menuTitle(*window, QStringLiteral("文件")), QStringLiteral("       文件(&F)"));
}

void tst_Language::windowInEnglish()
{
    QVERIFY(Translations::installProgramTexts(Language::English));
    QVERIFY(Translations::installQtTexts(Language::English));
    RecordedMessages messages;
    PortTable none;
    auto window = Startup::run(m_dir->filePath(QStringLiteral("qz3300E.mdb")), none, MainWindow::LinkStart::Offline);
    QVERIFY(window);
    QCOMPARE(window->windowTitle(), QStringLiteral("QZ300 Version [ A 1.1 ]"));
    QCOMPARE(menuTitle(*window, QStringLiteral("文件")), QStringLiteral("       &File"));
    QCOMPARE(menuTitle(*window, QStringLiteral("editMenu")), QStringLiteral("       &Edit"));
    QCOMPARE(menuTitle(*window, QStringLiteral("帮助")), QStringLiteral("       &Help"));
    QCOMPARE(actionText(*window, QStringLiteral("打开")), QStringLiteral("&Open file"));
    QCOMPARE(actionText(*window, QStringLiteral("读信道")), QStringLiteral("        &Read from radio"));
    QCOMPARE(actionText(*window, QStringLiteral("写信道")), QStringLiteral("        &Write to radio"));
    QCOMPARE(actionText(*window, QStringLiteral("端口")), QStringLiteral("       Select &port"));
    QCOMPARE(actionText(*window, QStringLiteral("undoCommand")), QStringLiteral("&Undo"));
    // Texts that came with later features: recent files, printing, offline start.
    QCOMPARE(menuTitle(*window, QStringLiteral("recentMenu")), QStringLiteral("Recent fi&les"));
    QCOMPARE(actionText(*window, QStringLiteral("printCommand")), QStringLiteral("&Print…"));
    QCOMPARE(actionText(*window, QStringLiteral("exportPdfCommand")), QStringLiteral("Export P&DF…"));
    QCOMPARE(actionText(*window, QStringLiteral("restoreBackupCommand")), QStringLiteral("&Restore backup…"));
    QCOMPARE(window->statusText(), QStringLiteral("Edit offline: no serial port open"));
    QVERIFY(window->findChild<QAction *>(QStringLiteral("englishCommand"))->isChecked());
    QCOMPARE(window->findChild<QAction *>(QStringLiteral("读信道"))->toolTip(),
             QStringLiteral("Edit offline: no serial port is open. First use \"Select port\" to choose the port the radio is "
                            "connected to."));
    // The shift caption ends before its box, and both say what the flag is.
    const auto *caption = window->findChild<QLabel *>(QStringLiteral("Label5"));
    QVERIFY(caption);
    QCOMPARE(caption->text(), QStringLiteral("Beat shift:"));
    QVERIFY(caption->geometry().right() < window->shiftBox()->geometry().left());
    QVERIFY(caption->fontMetrics().horizontalAdvance(caption->text()) <= caption->contentsRect().width());
    QVERIFY(window->shiftBox()->toolTip().contains(QStringLiteral("not a repeater offset")));
    QCOMPARE(window->channelGrid()->model()->headerData(3, Qt::Horizontal, Qt::ToolTipRole).toString(), window->shiftBox()->toolTip());
    QCOMPARE(window->channelGrid()->model()->headerData(1, Qt::Horizontal).toString(), QStringLiteral(" Receive (MHz)"));
    // Qt's own texts (the standard buttons) are English too, even where Qt's Chinese file exists.
    QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("Cancel"));

    // A range message, from the real grid.
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window.get()));
    ChannelGrid *grid = window->channelGrid();
    const QModelIndex cell = grid->model()->index(2, 1);
    grid->setCurrentIndex(cell);
    grid->edit(cell);
    auto *editor = qobject_cast<QLineEdit *>(QApplication::focusWidget());
    QVERIFY2(editor, "no cell editor open");
    editor->setText(QStringLiteral("600"));
    QTest::keyClick(editor, Qt::Key_Return);
    QTRY_COMPARE(messages.count(), 1);
    QCOMPARE(messages.last().text, QStringLiteral("Frequency out of range (130 to 500 MHz)"));
    QCOMPARE(messages.last().title, QStringLiteral("Error "));
}

void tst_Language::noPortBoxInEnglish()
{
    QVERIFY(Translations::installProgramTexts(Language::English));
    RecordedMessages messages;
    const auto window = Startup::run(m_dir->filePath(QStringLiteral("qz3300E.mdb")), PortTable({QString()}));
    QVERIFY(!window); // the escape button: exit
    QCOMPARE(messages.questions().count(), 1);
    QCOMPARE(messages.lastQuestion().title, QStringLiteral("System Information"));
    QCOMPARE(messages.lastQuestion().text, QStringLiteral("No serial port is available. You can edit the channel table offline, or exit."));
    QCOMPARE(messages.lastQuestion().buttons, (QStringList{"Edit offline", "Exit"}));
}

void tst_Language::menuKeepsTheChoice()
{
    RecordedMessages messages;
    auto window = Startup::run(m_dir->filePath(QStringLiteral("qz3300E.mdb")), PortTable(), MainWindow::LinkStart::Offline);
    QVERIFY(window);
    auto *languageMenu = window->findChild<QMenu *>(QStringLiteral("languageMenu"));
    QVERIFY(languageMenu);
    QCOMPARE(languageMenu->title(), QStringLiteral("语言 / Language(&L)"));
    QVERIFY(window->findChild<QMenu *>(QStringLiteral("帮助"))->actions().contains(languageMenu->menuAction()));
    auto *chinese = window->findChild<QAction *>(QStringLiteral("chineseCommand"));
    auto *english = window->findChild<QAction *>(QStringLiteral("englishCommand"));
    QVERIFY(chinese->isChecked());

    english->trigger();
    QVERIFY(english->isChecked());
    QCOMPARE(LanguageChoice::kept(), Language::English);
    QCOMPARE(messages.count(), 1);
    QCOMPARE(messages.last().title, QStringLiteral("语言 / Language"));
    QVERIFY2(messages.last().text.contains(QStringLiteral("英文")) && messages.last().text.contains(QLatin1String("English the next time")),
             qPrintable(messages.last().text));
    // This start stays Chinese.
    QCOMPARE(window->windowTitle(), QStringLiteral("QZ300 版本 [ A 1.1 ]"));

    // Back to the language shown: kept, and nothing to tell.
    chinese->trigger();
    QCOMPARE(LanguageChoice::kept(), Language::Chinese);
    QCOMPARE(messages.count(), 1);
}

void tst_Language::programHelp_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("keptFile");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QStringList>("outContains");
    QTest::addColumn<QString>("errContains");
    QTest::newRow("English locale, Chinese help") << QStringList{"--help"} << QString() << 0
                                                  << QStringList{"离线编辑", "--lang <zh|en>"} << QString();
    QTest::newRow("--lang en --help") << QStringList{"--lang", "en", "--help"} << QString() << 0
                                      << QStringList{"Edit offline: open no serial port", "radio channel programmer", "--lang"}
                                      << QString();
    QTest::newRow("kept English") << QStringList{"-h"} << "[window]\nlanguage=en\n" << 0
                                  << QStringList{"Work in the user data folder"} << QString();
    QTest::newRow("--lang fr") << QStringList{"--lang", "fr", "--help"} << QString() << 1 << QStringList{}
                               << "Unknown language 'fr'";
    QTest::newRow("--lang fr without --help") << QStringList{"--lang=fr", "--offline"} << QString() << 1 << QStringList{}
                                              << "未知的界面语言“fr”";
}

// The real program, as a user in an English locale starts it.
void tst_Language::programHelp()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, keptFile);
    QFETCH(int, exitCode);
    QFETCH(QStringList, outContains);
    QFETCH(QString, errContains);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("LANG"), QStringLiteral("en_US.UTF-8"));
    env.insert(QStringLiteral("LC_ALL"), QStringLiteral("en_US.UTF-8"));
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), m_dir->filePath(QStringLiteral("config")));
    env.insert(QStringLiteral("XDG_DATA_HOME"), m_dir->filePath(QStringLiteral("data")));
    env.insert(QStringLiteral("QZ300_PORTS"), QString());
    if (!keptFile.isEmpty()) {
        QVERIFY(QDir().mkpath(m_dir->filePath(QStringLiteral("config/qz300"))));
        QFile file(m_dir->filePath(QStringLiteral("config/qz300/qz300.ini")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(keptFile.toUtf8());
        file.close();
    }
    QProcess program;
    program.setProcessEnvironment(env);
    program.setWorkingDirectory(m_dir->path());
    program.start(QStringLiteral(QZ300_APP), arguments);
    QVERIFY(program.waitForFinished(20000));
    QCOMPARE(program.exitCode(), exitCode);
    const QString out = QString::fromUtf8(program.readAllStandardOutput());
    for (const QString &part : std::as_const(outContains))
        QVERIFY2(out.contains(part), qPrintable(out));
    if (!errContains.isEmpty()) {
        const QString err = QString::fromUtf8(program.readAllStandardError());
        QVERIFY2(err.contains(errContains), qPrintable(err));
    }
    QVERIFY(!QFileInfo::exists(m_dir->filePath(QStringLiteral("qz3300E.mdb"))));
}

QTEST_MAIN(tst_Language)
#include "tst_language.moc"
