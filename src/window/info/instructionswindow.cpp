#include "window/info/instructionswindow.h"

#include "core/info/instructiontext.h"
#include "print/fonts.h"
#include "window/info/blankwraplabel.h"
#include "window/info/programguide.h"
#include "window/ui/designnames.h"
#include "window/ui/programicon.h"
#include "window/ui/twips.h"

#include <QLabel>
#include <QPushButton>

namespace {

constexpr int ClientWidth = 9210;
constexpr int ClientHeight = 5760;

} // namespace

InstructionsWindow::InstructionsWindow(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                          | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint)
{
    setObjectName(DesignNames::Instructions::window());
    setWindowTitle(tr("操作说明"));
    setWindowIcon(ProgramIcon::icon());
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(false);

    // The runs of blanks lay the text out in lines: plain text keeps them, and the lines break
    // only there.
    m_description = new BlankWrapLabel(InstructionText::text(), this);
    m_description->setObjectName(DesignNames::Instructions::text());
    m_description->setFont(Fonts::font(Fonts::kai(), 15.75));
    QPalette palette = m_description->palette();
    palette.setColor(QPalette::WindowText, Qt::blue);
    m_description->setPalette(palette);
    Twips::place(m_description, 720, 600, 7845, 4530);

    m_ok = new QPushButton(tr("确定"), this);
    m_ok->setObjectName(DesignNames::Instructions::okButton());
    m_ok->setDefault(true);
    Twips::place(m_ok, 7320, 5280, 1500, 345);
    m_ok->setFocus();
    connect(m_ok, &QPushButton::clicked, this, &InstructionsWindow::onOkClicked);

    QSize client = Twips::size(this, ClientWidth, ClientHeight);
    // A font taller than the designed one needs more lines' height; the text must show whole.
    const int needed = m_description->heightForWidth(m_description->width());
    int extra = needed - m_description->height();
    if (extra > 0)
        m_description->resize(m_description->width(), needed);
    else
        extra = 0;

    // The second section goes between the instruction text and the button, which moves down for it.
    m_guide = new QLabel(ProgramGuide::heading() + u'\n' + ProgramGuide::text(), this);
    m_guide->setObjectName(QStringLiteral("lblProgramGuide"));
    m_guide->setTextFormat(Qt::PlainText);
    m_guide->setWordWrap(true);
    m_guide->setFont(Fonts::font(Fonts::song(), 10.5));
    const int gap = Twips::size(this, 0, 120).height();
    const int guideHeight = m_guide->heightForWidth(m_description->width());
    m_guide->setGeometry(m_description->x(), m_description->geometry().bottom() + 1 + gap, m_description->width(), guideHeight);
    extra += gap + guideHeight;

    m_ok->move(m_ok->x(), m_ok->y() + extra);
    client.rheight() += extra;
    setFixedSize(client);
}

void InstructionsWindow::onOkClicked()
{
    close();
}
