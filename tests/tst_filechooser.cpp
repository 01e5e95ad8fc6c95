#include "window/files/filechooser.h"

#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>

// The file chooser with the real file dialog, answered from a timer while it runs modal.
class tst_FileChooser : public QObject
{
    Q_OBJECT

private slots:
    void qtFilter_data();
    void qtFilter();
    void realDialog();
    void realDialogSuffixFollowsFilter();

private:
    /// Runs `answer` on the file dialog once it is up.
    void whenShown(std::function<void(QFileDialog *)> answer);
};

void tst_FileChooser::qtFilter_data()
{
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QString>("qt");
    QTest::newRow("channel files") << "text(*.doc)|*.doc" << "text(*.doc) (*.doc)";
    QTest::newRow("two entries") << "text(*.doc)|*.doc|all|*.*" << "text(*.doc) (*.doc);;all (*.*)";
    QTest::newRow("two patterns") << "docs|*.doc;*.txt" << "docs (*.doc *.txt)";
    QTest::newRow("empty") << "" << "";
}

void tst_FileChooser::qtFilter()
{
    QFETCH(QString, filter);
    QFETCH(QString, qt);
    QCOMPARE(FileChooser::qtFilter(filter), qt);
}

void tst_FileChooser::whenShown(std::function<void(QFileDialog *)> answer)
{
    auto *timer = new QTimer(this);
    timer->setInterval(20);
    connect(timer, &QTimer::timeout, this, [timer, answer] {
        auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
        if (!dialog || !dialog->isVisible())
            return;
        timer->stop();
        timer->deleteLater();
        answer(dialog);
    });
    timer->start();
}

void tst_FileChooser::realDialog()
{
    QTemporaryDir dir;
    QWidget window;
    FileChooser dialog(&window);
    QCOMPARE(dialog.objectName(), QStringLiteral("CommonDialog1"));
    dialog.setFilter(QStringLiteral("text(*.doc)|*.doc"));
    const QString typed = dir.filePath(QStringLiteral("chan"));

    QStringList filters;
    QString suffix = QStringLiteral("<unset>");
    whenShown([&](QFileDialog *shown) {
        filters = shown->nameFilters();
        suffix = shown->defaultSuffix();
        shown->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"))->setText(typed);
        static_cast<QDialog *>(shown)->accept(); // as the OK button does
    });
    QCOMPARE(dialog.chooseToSave(), typed); // no extension added
    QCOMPARE(filters, QStringList{QStringLiteral("text(*.doc) (*.doc)")});
    QCOMPARE(suffix, QString());

    // The next dialog starts with that name; cancelling gives an empty name.
    QStringList startsWith;
    whenShown([&](QFileDialog *shown) {
        startsWith = shown->selectedFiles();
        shown->reject();
    });
    QCOMPARE(dialog.chooseToSave(), QString());
    QCOMPARE(dialog.fileName(), QString());
    QCOMPARE(startsWith, QStringList{typed});
}

// The export dialog: the entry the user picks decides the extension of a bare name, and is
// what the dialog starts with the next time.
void tst_FileChooser::realDialogSuffixFollowsFilter()
{
    QTemporaryDir dir;
    QWidget window;
    FileChooser dialog(&window);
    dialog.setFilter(QStringLiteral("CHIRP CSV|*.csv|CSV|*.csv|JSON|*.json"));
    dialog.setFilterIndex(1);
    dialog.setSuffixFromFilter(true);
    const QString typed = dir.filePath(QStringLiteral("plan"));

    QString startFilter;
    whenShown([&](QFileDialog *shown) {
        startFilter = shown->selectedNameFilter();
        auto *types = shown->findChild<QComboBox *>(QStringLiteral("fileTypeCombo"));
        QVERIFY(types);
        types->setCurrentIndex(2);
        emit types->activated(2); // as a click on the entry does
        emit types->textActivated(types->itemText(2));
        shown->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"))->setText(typed);
        static_cast<QDialog *>(shown)->accept();
    });
    QCOMPARE(dialog.chooseToSave(), typed + QStringLiteral(".json"));
    QCOMPARE(startFilter, QStringLiteral("CSV (*.csv)"));
    QCOMPARE(dialog.filterIndex(), 2);

    whenShown([&](QFileDialog *shown) {
        startFilter = shown->selectedNameFilter();
        shown->reject();
    });
    QCOMPARE(dialog.chooseToSave(), QString());
    QCOMPARE(startFilter, QStringLiteral("JSON (*.json)"));
    QCOMPARE(dialog.filterIndex(), 2);
}

QTEST_MAIN(tst_FileChooser)
#include "tst_filechooser.moc"
