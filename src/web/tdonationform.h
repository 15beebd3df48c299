#pragma once

#include "app/secondarywindow.h"

#include <QDialog>

class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace vidmo {

// The donation window, shown modally from the tool bar: wallet numbers and a
// button that opens the SMS payment page in the default browser.
class TDonationForm final : public SecondaryWindow<QDialog>
{
    Q_OBJECT

public:
    static constexpr int ClientWidth = 341;
    static constexpr int ClientHeight = 208;

    // Ours to fill in once the project has its accounts; until then they are
    // marked as placeholders, on the reserved .example domain.
    static const char16_t *const WalletText;
    static const char *const SmsPageAddress;

    explicit TDonationForm(AppContext &ctx);

    QLabel *sLabel1 = nullptr;
    QPlainTextEdit *sMemo1 = nullptr;
    QPushButton *sBitBtn1 = nullptr;

public Q_SLOTS:
    void sBitBtn1Click();
};

} // namespace vidmo
