#include "web/tdonationform.h"

#include "app/platform.h"
#include "app/skinbutton.h"

#include <QLabel>
#include <QPlainTextEdit>

namespace vidmo {

const char16_t *const TDonationForm::WalletText =
    u"WebMoney:\nR000000000000\nZ000000000000\n\nЯндекс.Деньги:\n410000000000000";
const char *const TDonationForm::SmsPageAddress = "http://sms-payment.example/vidmo-player";

TDonationForm::TDonationForm(AppContext &ctx) : SecondaryWindow(ctx)
{
    setupWindow(this, QStringLiteral("DonationForm"), ClientWidth, ClientHeight, TitleButtons::Close);
    setFont(layoutFont(QStringLiteral("Tahoma"), 8));

    sLabel1 = new QLabel(QStringLiteral("Если вам понравилась программа и вы хотите помочь дальнейшему "
                                        "развитию, то вы можете перечислить любую сумму на кошельки:"),
                         this);
    sLabel1->setObjectName(QStringLiteral("sLabel1"));
    sLabel1->setGeometry(10, 10, 309, 39);
    sLabel1->setWordWrap(true);

    sMemo1 = new QPlainTextEdit(QString::fromUtf16(WalletText), this);
    sMemo1->setObjectName(QStringLiteral("sMemo1"));
    sMemo1->setGeometry(10, 58, 100, 89);
    sMemo1->setReadOnly(true);
    sMemo1->setFrameShape(QFrame::NoFrame);
    sMemo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    sMemo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    sMemo1->setLineWrapMode(QPlainTextEdit::NoWrap);
    // On the window's background, not an edit's.
    sMemo1->viewport()->setAutoFillBackground(false);
    sMemo1->setStyleSheet(QStringLiteral("QPlainTextEdit { background: transparent; }"));

    sBitBtn1 = new SkinButton(QStringLiteral("sBitBtn1"),
                              QStringLiteral("      Отправить      SMS"), this);
    sBitBtn1->setGeometry(10, 155, 100, 40);
    connect(sBitBtn1, &QPushButton::clicked, this, &TDonationForm::sBitBtn1Click);
}

void TDonationForm::sBitBtn1Click()
{
    m_ctx.services.shell->open(QString::fromLatin1(SmsPageAddress));
}

} // namespace vidmo
