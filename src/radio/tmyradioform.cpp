#include "radio/tmyradioform.h"

#include "app/guard.h"
#include "app/skinbutton.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>

namespace vidmo {

namespace {

const QString Section = QStringLiteral("MyRadio");

// Slot k (1..9) is lettered a..i in its keys.
QString nameKey(int slot)
{
    return QStringLiteral("MyRN") + QChar(u'a' + (slot - 1));
}

QString addressKey(int slot)
{
    return QStringLiteral("MyR") + QChar(u'a' + (slot - 1));
}

constexpr int SlotLeft[3] = {15, 81, 147};
constexpr int SlotTop[3] = {8, 48, 88};

} // namespace

TMyRadioForm::TMyRadioForm(AppContext &ctx) : SecondaryWindow(ctx)
{
    setupWindow(this, QStringLiteral("MyRadioForm"), ClientWidth, ClientHeight, TitleButtons::CloseMinimize);
    setFont(layoutFont(QStringLiteral("Tahoma"), 8));
    setWindowModality(Qt::ApplicationModal);

    for (int k = 1; k <= Slots; ++k) {
        auto *b = new SkinButton(QStringLiteral("sBitBtn%1").arg(k), QString(), this);
        b->setGeometry(SlotLeft[(k - 1) % 3], SlotTop[(k - 1) / 3], 64, 38);
        connect(b, &QPushButton::clicked, this, [this, k] { slotClick(k); });
        m_bitBtn[size_t(k)] = b;
    }

    sLabel1 = new QLabel(QStringLiteral("Название радиостанции"), this);
    sLabel1->setObjectName(QStringLiteral("sLabel1"));
    sLabel1->move(55, 144);
    sLabel1->adjustSize();
    sEdit1 = new QLineEdit(this);
    sEdit1->setObjectName(QStringLiteral("sEdit1"));
    sEdit1->setGeometry(15, 160, 196, 21);

    sLabel2 = new QLabel(QStringLiteral("Ссылка на радиостанцию"), this);
    sLabel2->setObjectName(QStringLiteral("sLabel2"));
    sLabel2->move(50, 190);
    sLabel2->adjustSize();
    sEdit2 = new QLineEdit(this);
    sEdit2->setObjectName(QStringLiteral("sEdit2"));
    sEdit2->setGeometry(15, 210, 196, 21);

    auto *add = new SkinButton(QStringLiteral("sBitBtn10"), QStringLiteral("Добавить"), this);
    add->setGeometry(70, 240, 100, 25);
    connect(add, &QPushButton::clicked, this, &TMyRadioForm::sBitBtn10Click);
    m_bitBtn[10] = add;

    PopupMenu3 = new QMenu(this);
    PopupMenu3->setObjectName(QStringLiteral("PopupMenu3"));
    N1 = PopupMenu3->addAction(QStringLiteral("Удалить радиостанцию"));
    N1->setObjectName(QStringLiteral("N1"));
    connect(N1, &QAction::triggered, this, &TMyRadioForm::N1Click);

    // Every button of the window offers the menu, the add button too.
    for (int n = 1; n <= Slots + 1; ++n) {
        SkinButton *b = m_bitBtn[size_t(n)];
        b->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(b, &QWidget::customContextMenuRequested, this, [this, b](const QPoint &pos) {
            m_popupComponent = b;
            PopupMenu3->popup(b->mapToGlobal(pos));
        });
    }

    // A click into either edit empties it.
    onLeftPress(sEdit1, [this] { sEdit1Click(); });
    onLeftPress(sEdit2, [this] { sEdit2Click(); });
}

SkinButton *TMyRadioForm::sBitBtn(int number) const
{
    if (number < 1 || number > Slots + 1)
        return nullptr;
    return m_bitBtn[size_t(number)];
}

QString TMyRadioForm::fieldsMissingText()
{
    return QStringLiteral("Некорректно заполнены обязательные поля");
}

QString TMyRadioForm::noFreeSlotText()
{
    return QStringLiteral("Нет свободных кнопок");
}

void TMyRadioForm::showEvent(QShowEvent *event)
{
    SecondaryWindow::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TMyRadioForm::FormShow()
{
    const IniFile &ini = *m_ctx.settingsFile;
    for (int k = 1; k <= Slots; ++k) {
        m_bitBtn[size_t(k)]->setText(ini.readString(Section, nameKey(k), QString()));
        MyRadioUrls[size_t(k - 1)] = ini.readString(Section, addressKey(k), QString());
    }
}

void TMyRadioForm::slotClick(int slot)
{
    TForm1 *main = m_ctx.windows.Form1;
    main->MyRadioUrl = MyRadioUrls[size_t(slot - 1)];
    main->Button1->click();
}

void TMyRadioForm::sBitBtn10Click()
{
    IMessageBox &box = *m_ctx.services.messageBox;
    if (sEdit1->text().isEmpty() || sEdit2->text().isEmpty()) {
        box.show(fieldsMissingText());
        return;
    }
    int slot = 0;
    for (int k = 1; k <= Slots && slot == 0; ++k) {
        if (m_bitBtn[size_t(k)]->text().isEmpty())
            slot = k;
    }
    if (slot == 0) {
        box.show(noFreeSlotText());
        return;
    }
    m_bitBtn[size_t(slot)]->setText(sEdit1->text());
    MyRadioUrls[size_t(slot - 1)] = sEdit2->text();
    guard(box, [&] {
        m_ctx.settingsFile->writeString(Section, nameKey(slot), sEdit1->text());
        m_ctx.settingsFile->writeString(Section, addressKey(slot), sEdit2->text());
    });
}

void TMyRadioForm::N1Click()
{
    for (int k = 1; k <= Slots; ++k) {
        if (m_popupComponent != m_bitBtn[size_t(k)])
            continue;
        m_bitBtn[size_t(k)]->setText(QString());
        // Cleared here too, so the emptied slot no longer plays the old station.
        MyRadioUrls[size_t(k - 1)].clear();
        guard(*m_ctx.services.messageBox, [&] {
            m_ctx.settingsFile->writeString(Section, nameKey(k), QString());
            m_ctx.settingsFile->writeString(Section, addressKey(k), QString());
        });
    }
}

void TMyRadioForm::sEdit1Click() { sEdit1->clear(); }
void TMyRadioForm::sEdit2Click() { sEdit2->clear(); }

} // namespace vidmo
