#include "app/tform1.h"

#include "app/appcontext.h"
#include "app/guard.h"
#include "app/icons.h"
#include "app/skinbutton.h"
#include "app/toolbaractions.h"
#include "app/trayminimize.h"
#include "app/windowutil.h"
#include "catalogue/dispatcher.h"
#include "favorites/tfavoriteform.h"
#include "navigation/categorynavigator.h"
#include "navigation/closedsection.h"
#include "radio/radiopanel.h"
#include "web/webview.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>
#include <QShowEvent>
#include <QSystemTrayIcon>
#include <QToolButton>

namespace vidmo {

namespace {

constexpr int CategoryTop = 4;
constexpr int GridColumnLeft[3] = {600, 666, 732};
constexpr int GridRowTop[11] = {4, 45, 85, 125, 165, 205, 245, 285, 325, 365, 405};

struct CategoryButton
{
    int number;
    int left;
    int width;
    const char16_t *caption;
};

constexpr CategoryButton CategoryRow[] = {
    {1, 5, 82, u"Общественные"}, {2, 89, 78, u"Радио"},     {3, 169, 78, u"Музыкальные"},
    {4, 249, 78, u"Развлечения"}, {5, 329, 78, u"Научные"},  {6, 409, 78, u"Спорт"},
    {7, 489, 78, u"Кино"},        {8, 569, 78, u"Мультики"}, {9, 649, 78, u"Записи"},
    {44, 729, 78, u"Зарубежные"},
};

struct ToolButton
{
    int number;
    int left;
    const char16_t *hint; // empty: the button shows no hint
    const char *picture;
};

constexpr ToolButton ToolBar[] = {
    {8, 5, u"", "pin"},
    {9, 5, u"", "unpin"},
    {1, 50, u"Настройки", "gear"},
    {4, 95, u"Закрытый раздел", "heart"},
    {2, 140, u"Выключить", "power"},
    {5, 630, u"Избранное", "star"},
    {3, 675, u"ТВ программа", "grid"},
    {7, 720, u"Помощь", "help"},
    {6, 765, u"Помощь проекту", "dollar"},
};

struct RadioButton
{
    int number;
    int left;
    const char16_t *hint;
    const char *picture;
    bool shown;
};

// sSpeedButton11 takes sSpeedButton10's place while a recording runs.
constexpr RadioButton RadioPanelButtons[] = {
    {10, 15, u"Записать радио", "record", false},
    {11, 15, u"Остановить запись", "stoprecord", false},
    {14, 80, u"Мое радио", "myradio", true},
    {13, 115, u"Запуск минирадио", "mini", true},
    {12, 150, u"Выключить радио", "off", false},
};

struct CountryLabel
{
    QLabel *TForm1::*member;
    const char *name;
    int top;
    const char16_t *caption;
};

} // namespace

TForm1::TForm1(AppContext &ctx) : QWidget(nullptr), m_ctx(ctx)
{
    m_ctx.windows.Form1 = this;
    setupWindow(this, QStringLiteral("Form1"), ClientWidth, ClientHeight, TitleButtons::CloseMinimize);
    setWindowTitle(QStringLiteral("Vidmo Player"));
    QApplication::setWindowIcon(applicationIcon());
    setWindowIcon(applicationIcon());
    setFont(layoutFont(QStringLiteral("MS Sans Serif"), 8));

    buildCategoryRow();
    buildPanel();
    buildToolBar();

    StartTVButton = new QPushButton(QStringLiteral("Запуск ТВ каналов"), this);
    StartTVButton->setObjectName(QStringLiteral("StartTVButton"));
    StartTVButton->setGeometry(405, 491, 115, 25);
    StartTVButton->hide();

    Button1 = new QPushButton(QStringLiteral("Запуск MyRadio"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setGeometry(526, 491, 98, 25);
    Button1->hide();
    connect(Button1, &QPushButton::clicked, this, &TForm1::Button1Click);

    TrayIcon1 = new QSystemTrayIcon(this);
    TrayIcon1->setObjectName(QStringLiteral("TrayIcon1"));
    TrayIcon1->setIcon(applicationIcon());
    m_tray = std::make_unique<TrayMinimize>(m_ctx);
    m_radio = std::make_unique<RadioPanel>(m_ctx);

    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    N1 = PopupMenu1->addAction(QStringLiteral("Добавить в Избранное"));
    N1->setObjectName(QStringLiteral("N1"));

    connectNavigation();
    connectToolBar();
    FormCreate();
}

TForm1::~TForm1()
{
    FormDestroy();
}

void TForm1::buildCategoryRow()
{
    const QFont tahoma = layoutFont(QStringLiteral("Tahoma"), 8);
    for (const auto &c : CategoryRow) {
        auto *b = new SkinButton(QStringLiteral("sBitBtn%1").arg(c.number),
                                 QString::fromUtf16(c.caption), this);
        b->setGeometry(c.left, CategoryTop, c.width, 28);
        b->setFont(tahoma);
        m_bitBtn[size_t(c.number)] = b;
    }
    auto *back = new SkinButton(QStringLiteral("sBitBtn45"), QStringLiteral("Назад"), this);
    back->setGeometry(729, 5, 78, 28);
    back->setFont(tahoma);
    back->hide();
    m_bitBtn[45] = back;
}

void TForm1::buildPanel()
{
    sPanel1 = new QFrame(this);
    sPanel1->setObjectName(QStringLiteral("sPanel1"));
    sPanel1->setFrameShape(QFrame::StyledPanel);
    sPanel1->setGeometry(5, 35, 800, 450);

    Chromium1 = m_ctx.services.webViews->create(sPanel1);
    Chromium1->widget()->setObjectName(QStringLiteral("Chromium1"));
    Chromium1->widget()->setGeometry(7, 7, 590, 436);

    const QFont tahoma = layoutFont(QStringLiteral("Tahoma"), 8);
    for (int n = FirstGridButton; n <= LastGridButton; ++n) {
        const int index = n - FirstGridButton;
        auto *b = new SkinButton(QStringLiteral("sBitBtn%1").arg(n), QString(), sPanel1);
        b->setGeometry(GridColumnLeft[index % 3], GridRowTop[index / 3], 64, 38);
        b->setFont(tahoma);
        m_bitBtn[size_t(n)] = b;
    }

    static const CountryLabel labels[] = {
        {&TForm1::sLabel1, "sLabel1", 20, u"Грузия"},
        {&TForm1::sLabel2, "sLabel2", 135, u"Казахстан"},
        {&TForm1::sLabel3, "sLabel3", 255, u"Армения"},
        {&TForm1::sLabel4, "sLabel4", 375, u"Беларусь"},
    };
    const QFont labelFont = layoutFont(QStringLiteral("MS Sans Serif"), 10);
    for (const auto &l : labels) {
        auto *label = new QLabel(QString::fromUtf16(l.caption), sPanel1);
        label->setObjectName(QString::fromLatin1(l.name));
        label->setFont(labelFont);
        label->setStyleSheet(QStringLiteral("color: black; background: transparent;"));
        label->move(670, l.top);
        label->adjustSize();
        label->hide();
        this->*(l.member) = label;
    }

    sPanel2 = new QFrame(sPanel1);
    sPanel2->setObjectName(QStringLiteral("sPanel2"));
    sPanel2->setFrameShape(QFrame::StyledPanel);
    sPanel2->setGeometry(602, 365, 190, 77);
    sPanel2->hide();
    buildRadioPanel();
}

void TForm1::buildRadioPanel()
{
    using Slot = void (TForm1::*)();
    const Slot handlers[] = {&TForm1::sSpeedButton10Click, &TForm1::sSpeedButton11Click,
                          &TForm1::sSpeedButton12Click, &TForm1::sSpeedButton13Click,
                          &TForm1::sSpeedButton14Click};
    for (const auto &r : RadioPanelButtons) {
        auto *b = new QToolButton(sPanel2);
        b->setObjectName(QStringLiteral("sSpeedButton%1").arg(r.number));
        b->setGeometry(r.left, 5, 32, 32);
        b->setIconSize(QSize(24, 24));
        b->setAutoRaise(true);
        b->setToolTip(QString::fromUtf16(r.hint));
        b->setIcon(radioPanelIcon(QString::fromLatin1(r.picture)));
        b->setVisible(r.shown);
        connect(b, &QToolButton::clicked, this, handlers[r.number - 10]);
        m_speedBtn[size_t(r.number)] = b;
    }

    sScrollBar1 = new QScrollBar(Qt::Horizontal, sPanel2);
    sScrollBar1->setObjectName(QStringLiteral("sScrollBar1"));
    sScrollBar1->setGeometry(15, 40, 160, 17);
    sScrollBar1->setRange(0, 100);
    sScrollBar1->setPageStep(1); // the thinnest thumb; a page click steps by one
    sScrollBar1->setValue(100);
    sScrollBar1->hide();
    connect(sScrollBar1, &QScrollBar::valueChanged, this, &TForm1::sScrollBar1Change);

    sLabel5 = new QLabel(QStringLiteral("Громкость"), sPanel2);
    sLabel5->setObjectName(QStringLiteral("sLabel5"));
    sLabel5->move(68, 60);
    sLabel5->adjustSize();

    sEdit1 = new QLineEdit(QStringLiteral("MyRecord"), sPanel2);
    sEdit1->setObjectName(QStringLiteral("sEdit1"));
    sEdit1->move(24, 44);
    sEdit1->hide();
}

void TForm1::buildToolBar()
{
    for (const auto &t : ToolBar) {
        auto *b = new QToolButton(this);
        b->setObjectName(QStringLiteral("sSpeedButton%1").arg(t.number));
        b->setGeometry(t.left, 495, 40, 40);
        b->setIconSize(QSize(32, 32));
        b->setAutoRaise(true);
        b->setToolTip(QString::fromUtf16(t.hint));
        b->setIcon(toolBarIcon(QString::fromLatin1(t.picture)));
        m_speedBtn[size_t(t.number)] = b;
    }
    m_speedBtn[9]->hide();
}

SkinButton *TForm1::sBitBtn(int number) const
{
    if (number < 1 || number >= int(m_bitBtn.size()))
        return nullptr;
    return m_bitBtn[size_t(number)];
}

QToolButton *TForm1::sSpeedButton(int number) const
{
    if (number < 1 || number >= int(m_speedBtn.size()))
        return nullptr;
    return m_speedBtn[size_t(number)];
}

QVector<SkinButton *> TForm1::gridButtons() const
{
    QVector<SkinButton *> grid;
    for (int n = FirstGridButton; n <= LastGridButton; ++n)
        grid << m_bitBtn[size_t(n)];
    return grid;
}

void TForm1::FormCreate()
{
    // 1. Every skinned bit-button offers the "add to favourites" menu.
    for (SkinButton *b : m_bitBtn) {
        if (!b)
            continue;
        b->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(b, &QWidget::customContextMenuRequested, this,
                [this, b](const QPoint &pos) { showPopupMenu(b, pos); });
    }
    // 2. The project web server's start page.
    Chromium1->load(m_ctx.server(QStringLiteral("/start8")));
    // 3. and 4. The audio engine on the default device, then its WMA plug-in.
    m_radio->initEngine(quintptr(winId()));
}

void TForm1::showPopupMenu(SkinButton *button, const QPoint &pos)
{
    m_popupComponent = button;
    PopupMenu1->popup(button->mapToGlobal(pos));
}

void TForm1::connectNavigation()
{
    using Slot = void (TForm1::*)();
    const std::pair<int, Slot> category[] = {
        {1, &TForm1::sBitBtn1Click}, {2, &TForm1::sBitBtn2Click}, {3, &TForm1::sBitBtn3Click},
        {4, &TForm1::sBitBtn4Click}, {5, &TForm1::sBitBtn5Click}, {6, &TForm1::sBitBtn6Click},
        {7, &TForm1::sBitBtn7Click}, {8, &TForm1::sBitBtn8Click}, {9, &TForm1::sBitBtn9Click},
        {44, &TForm1::sBitBtn44Click}, {45, &TForm1::sBitBtn45Click},
    };
    for (const auto &[number, slot] : category)
        connect(sBitBtn(number), &QPushButton::clicked, this, slot);
    for (SkinButton *b : gridButtons())
        connect(b, &QPushButton::clicked, this, [this, b] { channelButtonClick(b); });
    connect(StartTVButton, &QPushButton::clicked, this, &TForm1::StartTVButtonClick);
    connect(sSpeedButton(4), &QToolButton::clicked, this, &TForm1::sSpeedButton4Click);
}

void TForm1::sBitBtn1Click() { CategoryNavigator(m_ctx).sBitBtn1Click(); }
void TForm1::sBitBtn2Click()
{
    CategoryNavigator(m_ctx).sBitBtn2Click();
    m_radio->radioPageShown();
}
void TForm1::sBitBtn3Click() { CategoryNavigator(m_ctx).sBitBtn3Click(); }
void TForm1::sBitBtn4Click() { CategoryNavigator(m_ctx).sBitBtn4Click(); }
void TForm1::sBitBtn5Click() { CategoryNavigator(m_ctx).sBitBtn5Click(); }
void TForm1::sBitBtn6Click() { CategoryNavigator(m_ctx).sBitBtn6Click(); }
void TForm1::sBitBtn7Click() { CategoryNavigator(m_ctx).sBitBtn7Click(); }
void TForm1::sBitBtn8Click() { CategoryNavigator(m_ctx).sBitBtn8Click(); }
void TForm1::sBitBtn9Click() { CategoryNavigator(m_ctx).sBitBtn9Click(); }
void TForm1::sBitBtn44Click() { CategoryNavigator(m_ctx).sBitBtn44Click(); }
void TForm1::sBitBtn45Click() { CategoryNavigator(m_ctx).sBitBtn45Click(); }
void TForm1::channelButtonClick(SkinButton *button) { CategoryNavigator(m_ctx).channelButtonClick(button); }
void TForm1::StartTVButtonClick() { ChannelDispatcher(m_ctx).StartTVButtonClick(); }
void TForm1::sSpeedButton4Click() { ClosedSection(m_ctx).sSpeedButton4Click(); }

void TForm1::connectToolBar()
{
    using Slot = void (TForm1::*)();
    const std::pair<int, Slot> tools[] = {
        {1, &TForm1::sSpeedButton1Click}, {2, &TForm1::sSpeedButton2Click},
        {3, &TForm1::sSpeedButton3Click}, {5, &TForm1::sSpeedButton5Click},
        {6, &TForm1::sSpeedButton6Click}, {7, &TForm1::sSpeedButton7Click},
        {8, &TForm1::sSpeedButton8Click}, {9, &TForm1::sSpeedButton9Click},
    };
    for (const auto &[number, slot] : tools)
        connect(sSpeedButton(number), &QToolButton::clicked, this, slot);
    connect(TrayIcon1, &QSystemTrayIcon::activated, this,
            [this](QSystemTrayIcon::ActivationReason reason) {
                if (reason == QSystemTrayIcon::DoubleClick)
                    TrayIcon1DblClick();
            });
    connect(N1, &QAction::triggered, this, &TForm1::N1Click);
}

void TForm1::sSpeedButton1Click() { ToolBarActions(m_ctx).openSettings(); }
void TForm1::sSpeedButton2Click() { ToolBarActions(m_ctx).blankView(); }
void TForm1::sSpeedButton3Click() { ToolBarActions(m_ctx).openProgramme(); }
void TForm1::sSpeedButton5Click() { ToolBarActions(m_ctx).openFavorites(); }
void TForm1::sSpeedButton6Click() { ToolBarActions(m_ctx).openDonation(); }
void TForm1::sSpeedButton7Click() { ToolBarActions(m_ctx).openHelp(); }
void TForm1::sSpeedButton8Click() { ToolBarActions(m_ctx).pin(); }
void TForm1::sSpeedButton9Click() { ToolBarActions(m_ctx).unpin(); }
void TForm1::AppMinimize() { m_tray->minimise(); }
void TForm1::TrayIcon1DblClick() { m_tray->restoreFromTray(); }

void TForm1::N1Click()
{
    guard(*m_ctx.services.messageBox,
          [this] { m_ctx.windows.FavoriteForm->store().add(m_popupComponent); });
}

void TForm1::StartRadioStream(const QByteArray &url) { m_radio->StartRadioStream(url); }
void TForm1::Button1Click() { m_radio->Button1Click(); }
void TForm1::sScrollBar1Change() { m_radio->sScrollBar1Change(); }
void TForm1::sSpeedButton10Click() { m_radio->sSpeedButton10Click(); }
void TForm1::sSpeedButton11Click() { m_radio->sSpeedButton11Click(); }
void TForm1::sSpeedButton12Click() { m_radio->sSpeedButton12Click(); }
void TForm1::sSpeedButton13Click() { m_radio->sSpeedButton13Click(); }
void TForm1::sSpeedButton14Click() { m_radio->sSpeedButton14Click(); }

void TForm1::FormShow()
{
    // 1. The first category of the row shown.
    sBitBtn(1)->click();
    // 2. The tray icon, for the tray value "1".
    m_tray->showTrayIcon();
    // 3. The answer to minimising.
    m_tray->install();
}

void TForm1::FormDestroy()
{
    m_radio->releaseEngine();
}

void TForm1::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    // A restore from the minimised state is not a show of the window.
    // Nor is a return from the tray.
    if (!event->spontaneous() && !m_tray->restoring())
        FormShow();
}

void TForm1::closeEvent(QCloseEvent *event)
{
    QWidget::closeEvent(event);
    if (event->isAccepted())
        Q_EMIT closed();
}

} // namespace vidmo
