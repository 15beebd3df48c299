#include "navigation/tform2.h"

#include "app/skinbutton.h"
#include "navigation/closedsection.h"

#include <QLabel>
#include <QLineEdit>

namespace vidmo {

TForm2::TForm2(AppContext &ctx) : SecondaryWindow(ctx)
{
    setupWindow(this, QStringLiteral("Form2"), ClientWidth, ClientHeight, TitleButtons::Close);
    setFont(layoutFont(QStringLiteral("Tahoma"), 8));

    sLabel1 = new QLabel(QStringLiteral("Для перехода в этот раздел необходимо ввести пароль"), this);
    sLabel1->setObjectName(QStringLiteral("sLabel1"));
    sLabel1->setGeometry(30, 20, 282, 32);
    sLabel1->setFont(layoutFont(QStringLiteral("Tahoma"), 10, true));
    sLabel1->setStyleSheet(QStringLiteral("color: black; background: transparent;"));
    sLabel1->setWordWrap(true);

    sEdit1 = new QLineEdit(this);
    sEdit1->setObjectName(QStringLiteral("sEdit1"));
    sEdit1->setGeometry(105, 60, 121, 21);
    sEdit1->setEchoMode(QLineEdit::Password);

    auto *ok = new SkinButton(QStringLiteral("sBitBtn1"), QStringLiteral("OK"), this);
    ok->setGeometry(128, 100, 75, 25);
    ok->setDefault(true);
    sBitBtn1 = ok;
    connect(sBitBtn1, &QPushButton::clicked, this, &TForm2::sBitBtn1Click);

    FormCreate();
}

void TForm2::FormCreate()
{
    sLabel1->setText(m_ctx.lang(QStringLiteral("Message"), QStringLiteral("Password")));
}

void TForm2::sBitBtn1Click() { ClosedSection(m_ctx).checkPassword(); }

} // namespace vidmo
