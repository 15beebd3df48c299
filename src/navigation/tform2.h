#pragma once

#include "app/secondarywindow.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

namespace vidmo {

// The closed section's password dialog. Not modal; closing only hides it and
// the typed text stays for the next showing.
class TForm2 final : public SecondaryWindow<QDialog>
{
    Q_OBJECT

public:
    static constexpr int ClientWidth = 341;
    static constexpr int ClientHeight = 148;

    explicit TForm2(AppContext &ctx);

    QLabel *sLabel1 = nullptr;
    QLineEdit *sEdit1 = nullptr;
    QPushButton *sBitBtn1 = nullptr;

public Q_SLOTS:
    void sBitBtn1Click();

private:
    void FormCreate();
};

} // namespace vidmo
