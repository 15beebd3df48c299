#include "radio/tradioform.h"

#include "app/icons.h"

#include <QCloseEvent>
#include <QScrollBar>
#include <QToolButton>

namespace vidmo {

namespace {

struct StripButton
{
    int number;
    int left;
    const char16_t *hint;
    const char *picture;
};

constexpr StripButton Strip[] = {
    {1, 5, u"Записать радио", "record"},
    {2, 5, u"Остановить запись", "stoprecord"},
    {3, 40, u"Выключить радио", "off"},
    {4, 235, u"Вернуться к Vidmo Player", "back"},
};

} // namespace

TRadioForm::TRadioForm(AppContext &ctx) : SecondaryWindow(ctx)
{
    setupWindow(this, QStringLiteral("RadioForm"), ClientWidth, ClientHeight, TitleButtons::TitleOnly);
    setFont(layoutFont(QStringLiteral("Tahoma"), 8));

    for (const auto &s : Strip) {
        auto *b = new QToolButton(this);
        b->setObjectName(QStringLiteral("sSpeedButton%1").arg(s.number));
        b->setGeometry(s.left, 3, 32, 32);
        b->setIconSize(QSize(24, 24));
        b->setAutoRaise(true);
        b->setToolTip(QString::fromUtf16(s.hint));
        b->setIcon(radioPanelIcon(QString::fromLatin1(s.picture)));
        m_speedBtn[size_t(s.number)] = b;
    }
    m_speedBtn[2]->hide();

    sScrollBar1 = new QScrollBar(Qt::Horizontal, this);
    sScrollBar1->setObjectName(QStringLiteral("sScrollBar1"));
    sScrollBar1->setGeometry(75, 10, 155, 17);
    sScrollBar1->setRange(0, 100);
    sScrollBar1->setPageStep(1); // the thinnest thumb; a page click steps by one
    sScrollBar1->setValue(100);

    connect(sScrollBar1, &QScrollBar::valueChanged, this, &TRadioForm::sScrollBar1Change);
    connect(m_speedBtn[1], &QToolButton::clicked, this, &TRadioForm::sSpeedButton1Click);
    connect(m_speedBtn[2], &QToolButton::clicked, this, &TRadioForm::sSpeedButton2Click);
    connect(m_speedBtn[3], &QToolButton::clicked, this, &TRadioForm::sSpeedButton3Click);
    connect(m_speedBtn[4], &QToolButton::clicked, this, &TRadioForm::sSpeedButton4Click);
}

QToolButton *TRadioForm::sSpeedButton(int number) const
{
    if (number < 1 || number >= int(m_speedBtn.size()))
        return nullptr;
    return m_speedBtn[size_t(number)];
}

void TRadioForm::showEvent(QShowEvent *event)
{
    SecondaryWindow::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TRadioForm::closeEvent(QCloseEvent *event)
{
    SecondaryWindow::closeEvent(event);
    if (event->isAccepted())
        FormClose();
}

void TRadioForm::FormShow()
{
    followMainButtons();
    sScrollBar1->setValue(m_ctx.windows.Form1->sScrollBar1->value());
}

void TRadioForm::FormClose()
{
    TForm1 *main = m_ctx.windows.Form1;
    main->sSpeedButton(10)->setVisible(!m_speedBtn[1]->isHidden());
    main->sSpeedButton(11)->setVisible(!m_speedBtn[2]->isHidden());
    main->sScrollBar1->setValue(sScrollBar1->value());
    main->show();
}

void TRadioForm::followMainButtons()
{
    const TForm1 *main = m_ctx.windows.Form1;
    m_speedBtn[1]->setVisible(!main->sSpeedButton(10)->isHidden());
    m_speedBtn[2]->setVisible(!main->sSpeedButton(11)->isHidden());
}

void TRadioForm::sScrollBar1Change()
{
    m_ctx.windows.Form1->sScrollBar1->setValue(sScrollBar1->value());
}

void TRadioForm::sSpeedButton1Click()
{
    m_speedBtn[1]->hide();
    m_speedBtn[2]->show();
    m_ctx.windows.Form1->sSpeedButton(10)->click();
    followMainButtons();
}

void TRadioForm::sSpeedButton2Click()
{
    m_speedBtn[1]->show();
    m_speedBtn[2]->hide();
    m_ctx.windows.Form1->sSpeedButton(11)->click();
}

void TRadioForm::sSpeedButton3Click()
{
    m_ctx.windows.Form1->sSpeedButton(12)->click();
}

void TRadioForm::sSpeedButton4Click()
{
    close();
    // FormClose has shown the main window already; showing it again is harmless.
    m_ctx.windows.Form1->show();
}

} // namespace vidmo
