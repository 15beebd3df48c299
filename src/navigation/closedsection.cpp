#include "navigation/closedsection.h"

#include "app/appcontext.h"
#include "app/platform.h"
#include "app/skinbutton.h"
#include "app/tform1.h"
#include "navigation/tform2.h"
#include "settings/tsettingform.h"

#include <QCheckBox>
#include <QLineEdit>

namespace vidmo {

ClosedSection::ClosedSection(AppContext &ctx) : m_ctx(ctx) {}

void ClosedSection::sSpeedButton4Click()
{
    const bool asked = m_ctx.windows.SettingForm->sCheckBox2->isChecked();
    if (asked) {
        TForm2 *dialog = m_ctx.windows.Form2;
        dialog->show();
        dialog->raise();
        dialog->activateWindow();
    }
    if (!asked)
        open();
}

void ClosedSection::open()
{
    TForm1 &form = *m_ctx.windows.Form1;
    const QString category = QStringLiteral("Category");
    form.sBitBtn(10)->setText(m_ctx.lang(category, QStringLiteral("erotica")));
    form.sBitBtn(11)->setText(m_ctx.lang(category, QStringLiteral("Porn")));
    form.sBitBtn(12)->hide();
    // The CISa and CISb pages hide the first row; the section always offers it.
    form.sBitBtn(10)->show();
    form.sBitBtn(10)->click();
}

void ClosedSection::checkPassword()
{
    TForm2 &dialog = *m_ctx.windows.Form2;
    const bool right = dialog.sEdit1->text() == m_ctx.windows.SettingForm->sEdit1->text();
    if (right) {
        open();
        dialog.hide();
    }
    if (!right)
        m_ctx.services.messageBox->show(
            m_ctx.lang(QStringLiteral("Message"), QStringLiteral("incorrectpassword")));
}

} // namespace vidmo
