#pragma once

#include "app/secondarywindow.h"

#include <QWidget>

#include <array>

class QScrollBar;
class QToolButton;

namespace vidmo {

// The mini radio: a strip in place of the main window. It does no work of its
// own; its buttons click the main window's radio panel and its volume bar
// drives the main bar. Buttons and volume are handed over both ways.
class TRadioForm final : public SecondaryWindow<QWidget>
{
    Q_OBJECT

public:
    static constexpr int ClientWidth = 274;
    static constexpr int ClientHeight = 37;

    explicit TRadioForm(AppContext &ctx);

    // sSpeedButton1..sSpeedButton4.
    QToolButton *sSpeedButton(int number) const;
    QScrollBar *sScrollBar1 = nullptr;

public Q_SLOTS:
    void sScrollBar1Change();
    void sSpeedButton1Click(); // record
    void sSpeedButton2Click(); // stop recording
    void sSpeedButton3Click(); // turn off
    void sSpeedButton4Click(); // back to the main window

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void FormShow();
    void FormClose();
    // The main window may refuse a record click; show what it shows.
    void followMainButtons();

    std::array<QToolButton *, 5> m_speedBtn{};
};

} // namespace vidmo
