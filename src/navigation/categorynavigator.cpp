#include "navigation/categorynavigator.h"

#include "app/appcontext.h"
#include "app/skinbutton.h"
#include "app/tform1.h"
#include "navigation/categorypages.h"
#include "web/webview.h"

#include <QLabel>
#include <QPushButton>

namespace vidmo {

namespace {

const QString Category = QStringLiteral("Category");

} // namespace

CategoryNavigator::CategoryNavigator(AppContext &ctx) : m_ctx(ctx), m_form(*ctx.windows.Form1) {}

bool CategoryNavigator::captionEquals(int button, const QString &key) const
{
    return m_form.sBitBtn(button)->text() == m_ctx.lang(Category, key);
}

void CategoryNavigator::hideRadioPanel()
{
    m_form.sPanel2->hide();
    // The panel's controls are the radio engine's; whichever exist are hidden too.
    for (const char *name : {"sScrollBar1", "sSpeedButton10", "sSpeedButton11", "sSpeedButton12"}) {
        if (auto *w = m_form.findChild<QWidget *>(QLatin1String(name)))
            w->hide();
    }
}

void CategoryNavigator::showRadioPanel()
{
    m_form.sPanel2->show();
    for (const char *name : {"sScrollBar1", "sSpeedButton10", "sSpeedButton12"}) {
        if (auto *w = m_form.findChild<QWidget *>(QLatin1String(name)))
            w->show();
    }
    if (auto *w = m_form.findChild<QWidget *>(QStringLiteral("sSpeedButton11")))
        w->hide();
}

void CategoryNavigator::setLabelsHidden()
{
    for (QLabel *label : {m_form.sLabel1, m_form.sLabel2, m_form.sLabel3, m_form.sLabel4})
        label->hide();
}

void CategoryNavigator::applyPage(const QString &key)
{
    if (const CategoryPage *page = categoryPage(key))
        apply(*page);
}

void CategoryNavigator::apply(const CategoryPage &page)
{
    if (!page.titlePage.isEmpty())
        m_form.Chromium1->load(m_ctx.server(page.titlePage));
    if (page.setsLabels) {
        QLabel *labels[] = {m_form.sLabel1, m_form.sLabel2, m_form.sLabel3, m_form.sLabel4};
        for (size_t i = 0; i < 4; ++i) {
            if (page.labels[i]) {
                labels[i]->setText(*page.labels[i]);
                labels[i]->adjustSize();
                labels[i]->show();
            } else {
                labels[i]->hide();
            }
        }
    }
    for (int number : page.show)
        m_form.sBitBtn(number)->show();
    for (const CategoryPage::Cell &cell : page.cells) {
        SkinButton *b = m_form.sBitBtn(cell.button);
        if (!cell.caption) {
            b->hide();
            continue;
        }
        b->setText(*cell.caption);
        if (!page.captionsOnly)
            b->show();
    }
    if (page.radioPanel == CategoryPage::Panel::Hide)
        hideRadioPanel();
    else if (page.radioPanel == CategoryPage::Panel::Show)
        showRadioPanel();
}

void CategoryNavigator::sBitBtn1Click()
{
    hideRadioPanel();
    for (SkinButton *b : m_form.gridButtons())
        b->show();
    setLabelsHidden();
    // Both tests are made: with both keys missing the caption "0" passes both.
    if (captionEquals(1, QStringLiteral("Ukrainian")))
        applyPage(QStringLiteral("Ukrainian"));
    if (captionEquals(1, QStringLiteral("public")))
        applyPage(QStringLiteral("public"));
}

void CategoryNavigator::sBitBtn2Click()
{
    if (captionEquals(2, QStringLiteral("radio")))
        applyPage(QStringLiteral("radio"));
    if (captionEquals(2, QStringLiteral("CISa")))
        applyPage(QStringLiteral("CISa"));
}

void CategoryNavigator::sBitBtn3Click()
{
    hideRadioPanel();
    if (captionEquals(3, QStringLiteral("music")))
        applyPage(QStringLiteral("music"));
    if (captionEquals(3, QStringLiteral("CISb")))
        applyPage(QStringLiteral("CISb"));
}

void CategoryNavigator::sBitBtn4Click()
{
    hideRadioPanel();
    if (captionEquals(4, QStringLiteral("entertainment")))
        applyPage(QStringLiteral("entertainment"));
    if (captionEquals(4, QStringLiteral("Miscellaneous")))
        applyPage(QStringLiteral("Miscellaneous"));
}

void CategoryNavigator::sBitBtn5Click()
{
    if (captionEquals(5, QStringLiteral("Research")))
        applyPage(QStringLiteral("Research"));
}

void CategoryNavigator::sBitBtn6Click() { applyPage(QStringLiteral("Sport")); }
void CategoryNavigator::sBitBtn7Click() { applyPage(QStringLiteral("movie")); }
void CategoryNavigator::sBitBtn8Click() { applyPage(QStringLiteral("Cartoons")); }
void CategoryNavigator::sBitBtn9Click() { applyPage(QStringLiteral("Records")); }

void CategoryNavigator::sBitBtn44Click()
{
    hideRadioPanel();
    const char *keys[] = {"Ukrainian", "CISa", "CISb", "Miscellaneous"};
    for (int i = 0; i < 4; ++i)
        m_form.sBitBtn(i + 1)->setText(m_ctx.lang(Category, QLatin1String(keys[i])));
    for (int n : {5, 6, 7, 8, 9, 44})
        m_form.sBitBtn(n)->hide();
    m_form.sBitBtn(45)->show();
    m_form.sBitBtn(1)->click();
}

void CategoryNavigator::sBitBtn45Click()
{
    hideRadioPanel();
    const char *keys[] = {"public", "radio", "music", "entertainment", "Research"};
    for (int i = 0; i < 5; ++i)
        m_form.sBitBtn(i + 1)->setText(m_ctx.lang(Category, QLatin1String(keys[i])));
    for (int n : {5, 6, 7, 8, 9, 44})
        m_form.sBitBtn(n)->show();
    m_form.sBitBtn(45)->hide();
    m_form.sBitBtn(1)->click();
}

void CategoryNavigator::channelButtonClick(SkinButton *button)
{
    m_form.StartTVButton->setText(button->text());
    m_form.StartTVButton->click();
}

} // namespace vidmo
