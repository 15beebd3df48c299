#pragma once

#include <QString>

namespace vidmo {

struct AppContext;
struct CategoryPage;
class SkinButton;
class TForm1;

// The category row and the channel grid of the main window. It keeps no
// state: the row shown, the page and the last channel live in the controls,
// and category keys are read from the language file at every test.
class CategoryNavigator final
{
public:
    explicit CategoryNavigator(AppContext &ctx);

    void sBitBtn1Click();
    void sBitBtn2Click();
    void sBitBtn3Click();
    void sBitBtn4Click();
    void sBitBtn5Click();
    void sBitBtn6Click();
    void sBitBtn7Click();
    void sBitBtn8Click();
    void sBitBtn9Click();
    void sBitBtn44Click(); // to the foreign row
    void sBitBtn45Click(); // back to the main row

    // sBitBtn10Click..sBitBtn42Click: hands the caption to the dispatcher.
    void channelButtonClick(SkinButton *button);

    // Applies the page of a category key, if there is one.
    void applyPage(const QString &key);

    void hideRadioPanel();
    void showRadioPanel();

private:
    // Whether the button's caption equals the value of [Category] key, now.
    bool captionEquals(int button, const QString &key) const;
    void apply(const CategoryPage &page);
    void setLabelsHidden();

    AppContext &m_ctx;
    TForm1 &m_form;
};

} // namespace vidmo
