#pragma once

#include "app/secondarywindow.h"

#include <QDialog>

class QLabel;
class QLineEdit;

namespace vidmo {

class SkinButton;

// The name dialog of a recording. Created once and reused, so its edit keeps
// what was typed last; OK hands the name to the main window.
class TRadioSaveForm final : public SecondaryWindow<QDialog>
{
    Q_OBJECT

public:
    static constexpr int ClientWidth = 230;
    static constexpr int ClientHeight = 109;

    explicit TRadioSaveForm(AppContext &ctx);

    QLabel *sLabel1 = nullptr;
    QLineEdit *sEdit1 = nullptr;
    SkinButton *sBitBtn1 = nullptr; // OK
    SkinButton *sBitBtn2 = nullptr; // Cancel

public Q_SLOTS:
    void sBitBtn1Click();
};

} // namespace vidmo
