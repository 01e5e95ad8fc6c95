#include "window/info/aboutbox.h"

#include "print/fonts.h"
#include "window/info/blankwraplabel.h"
#include "window/ui/designnames.h"
#include "window/ui/labelstyle.h"
#include "window/ui/messagebox.h"
#include "window/ui/programicon.h"
#include "window/ui/twips.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>

namespace {

constexpr int ClientWidth = 5730;
constexpr int ClientHeight = 3555;

QLabel *makeLabel(QWidget *parent, const QString &name, const QString &text, const QFont &font, const QColor &colour)
{
    // Plain text keeps the blanks the texts are laid out with.
    return LabelStyle::apply(new BlankWrapLabel(text, parent), name, font, colour);
}

QFrame *makeLine(QWidget *parent, const QString &name, const QColor &colour, int top)
{
    auto *line = new QFrame(parent);
    line->setObjectName(name);
    line->setAutoFillBackground(true);
    QPalette palette = line->palette();
    palette.setColor(QPalette::Window, colour);
    line->setPalette(palette);
    Twips::place(line, 225, top, 5285, 15);
    line->setFixedHeight(1);
    return line;
}

} // namespace

AboutBox::AboutBox(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                          | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint)
{
    setObjectName(DesignNames::About::window());
    setWindowTitle(tr("关于本软件"));
    setWindowIcon(ProgramIcon::icon());
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(false);
    buildControls();
}

void AboutBox::buildControls()
{
    auto *icon = new QLabel(this);
    icon->setObjectName(DesignNames::About::icon());
    icon->setPixmap(ProgramIcon::pixmap());
    icon->setGeometry(Twips::toPixels(240, logicalDpiX()), Twips::toPixels(240, logicalDpiY()), 32, 32);

    const QFont heading = Fonts::font(Fonts::kai(), 15.75);
    const QColor purple(0xC0, 0x00, 0xC0);
    Twips::place(makeLabel(this, DesignNames::About::title(), tr("    QZ300写频软件"), heading, Qt::red), 1050, 240, 3885, 480);
    Twips::place(makeLabel(this, DesignNames::About::version(), tr("      版本 A 1.1"), heading, Qt::red), 1050, 720, 3885, 420);
    QLabel *description = makeLabel(this, DesignNames::About::description(),
                                    tr("本软件是专供用户，对澄川电讯器材公司的QZ300对讲机，编写工作频率及参数的专用软件      "),
                                    Fonts::font(Fonts::kai(), 12), Qt::blue);
    Twips::place(description, 1050, 1170, 4455, 1170);

    makeLine(this, DesignNames::About::shadowLine(), QColor(0x80, 0x80, 0x80), 2430);
    makeLine(this, DesignNames::About::lightLine(), Qt::white, 2445);

    QLabel *disclaimer = makeLabel(this, DesignNames::About::disclaimer(),
                                   tr(" 技术咨询： ") + supportPhone() + QStringLiteral("       "),
                                   Fonts::font(Fonts::kai(), 14.25), purple);
    Twips::place(disclaimer, 255, 2625, 3870, 825);

    m_ok = new QPushButton(tr("确定"), this);
    m_ok->setObjectName(DesignNames::About::okButton());
    m_ok->setDefault(true);
    Twips::place(m_ok, 4125, 2625, 1380, 345);
    m_sysInfo = new QPushButton(tr("系统信息(&S)..."), this);
    m_sysInfo->setObjectName(DesignNames::About::systemInfoButton());
    Twips::place(m_sysInfo, 4125, 3075, 1380, 345);
    setTabOrder(m_ok, m_sysInfo);
    m_ok->setFocus();

    connect(m_ok, &QPushButton::clicked, this, &AboutBox::onOkClicked);
    connect(m_sysInfo, &QPushButton::clicked, this, &AboutBox::onSystemInfoClicked);
    setFixedSize(Twips::size(this, ClientWidth, ClientHeight));
}

void AboutBox::onOkClicked()
{
    close();
}

void AboutBox::onSystemInfoClicked()
{
    startSystemInfo();
}

void AboutBox::startSystemInfo()
{
    if (!m_systemInfo.start())
        Messages::show(this, Messages::applicationTitle(), tr("此时系统信息不可用"), Messages::Icon::None);
}
