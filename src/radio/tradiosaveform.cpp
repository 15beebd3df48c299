#include "radio/tradiosaveform.h"

#include "app/skinbutton.h"

#include <QLabel>
#include <QLineEdit>

namespace vidmo {

TRadioSaveForm::TRadioSaveForm(AppContext &ctx) : SecondaryWindow(ctx)
{
    setupWindow(this, QStringLiteral("RadioSaveForm"), ClientWidth, ClientHeight, TitleButtons::TitleOnly);
    setFont(layoutFont(QStringLiteral("Tahoma"), 8));

    sLabel1 = new QLabel(QStringLiteral("Ведите название для записываемого файла"), this);
    sLabel1->setObjectName(QStringLiteral("sLabel1"));
    sLabel1->setWordWrap(true);
    sLabel1->setGeometry(15, 10, 200, 26);

    sEdit1 = new QLineEdit(QStringLiteral("MyRecord"), this);
    sEdit1->setObjectName(QStringLiteral("sEdit1"));
    sEdit1->setGeometry(15, 45, 200, 21);

    sBitBtn1 = new SkinButton(QStringLiteral("sBitBtn1"), QStringLiteral("OK"), this);
    sBitBtn1->setGeometry(15, 75, 75, 25);
    sBitBtn1->setDefault(true);
    sBitBtn2 = new SkinButton(QStringLiteral("sBitBtn2"), QStringLiteral("Cancel"), this);
    sBitBtn2->setGeometry(140, 75, 75, 25);

    connect(sBitBtn1, &QPushButton::clicked, this, &TRadioSaveForm::sBitBtn1Click);
    connect(sBitBtn2, &QPushButton::clicked, this, &QDialog::reject);
}

void TRadioSaveForm::sBitBtn1Click()
{
    m_ctx.windows.Form1->sEdit1->setText(sEdit1->text());
    accept();
}

} // namespace vidmo
