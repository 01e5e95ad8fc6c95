// 连接检查…: runs the connection check on the window's port (on every port when offline), shows
// the steps as they end with ✓ or ✗ and what to do, and saves a report for a fault report. It
// never blocks the window; while it checks, the window's port is lent to it.
#pragma once

#include "core/radio/connectioncheck.h"

#include <QDialog>

#include <functional>
#include <memory>

class LineTrace;
class QLabel;
class QListWidget;
class QPushButton;
class ReadinessPoll;
class SerialLink;

class ConnectionCheckDialog : public QDialog
{
    Q_OBJECT

public:
    /// `transferTrace` is the window's record of its last transfer; `linkBusy` tells when a
    /// transfer holds the link, so that no check starts then. The dialog deletes itself when closed.
    ConnectionCheckDialog(SerialLink &link, ReadinessPoll &poll, std::shared_ptr<const LineTrace> transferTrace,
                          std::function<bool()> linkBusy, QWidget *parent = nullptr);
    ~ConnectionCheckDialog() override;

    /// Checks the window's port, or every port of the table when none is open.
    void startCheck();
    bool isChecking() const;

    ConnectionCheck &check() { return *m_check; }
    QListWidget *list() const { return m_list; }
    QPushButton *saveButton() const { return m_save; }
    QPushButton *againButton() const { return m_again; }
    /// The report 保存报告… writes.
    QString reportText() const;
    /// Asks where to save the report and writes it there.
    void saveReport();

    /// A check still running is given up and the port handed back.
    void done(int result) override;

signals:
    /// The window's port is lent to the check (true) or back (false): no transfer meanwhile.
    void linkHeld(bool held);

private:
    void portStarted(int index);
    void stepDone(int index, const CheckStep &step);
    void checkFinished();
    /// `tell`: emit linkHeld(false); not while the window itself goes.
    void giveLinkBack(bool tell);

    SerialLink &m_link;
    ReadinessPoll &m_poll;
    std::shared_ptr<const LineTrace> m_transferTrace;
    std::function<bool()> m_linkBusy;
    ConnectionCheck *m_check = nullptr;
    QListWidget *m_list = nullptr;
    QLabel *m_summary = nullptr;
    QPushButton *m_save = nullptr;
    QPushButton *m_again = nullptr;
    QList<ConnectionCheck::Target> m_targets;
    bool m_holdingLink = false;
    int m_lentPort = 0;
};
