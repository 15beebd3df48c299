#pragma once

#include "app/secondarywindow.h"

#include <QWidget>

#include <array>

class QAction;
class QLabel;
class QLineEdit;
class QMenu;

namespace vidmo {

class SkinButton;

// The user's nine own stations: play one, add one to the first free slot,
// delete one through the pop-up menu. Names and addresses live in
// Setting.ini, section [MyRadio], and are read anew at every showing.
class TMyRadioForm final : public SecondaryWindow<QWidget>
{
    Q_OBJECT

public:
    static constexpr int ClientWidth = 229;
    static constexpr int ClientHeight = 278;
    static constexpr int Slots = 9;

    explicit TMyRadioForm(AppContext &ctx);

    // sBitBtn1..sBitBtn9 (the slots), sBitBtn10 (add).
    SkinButton *sBitBtn(int number) const;

    QLabel *sLabel1 = nullptr;
    QLineEdit *sEdit1 = nullptr; // the new station's name
    QLabel *sLabel2 = nullptr;
    QLineEdit *sEdit2 = nullptr; // its address
    QMenu *PopupMenu3 = nullptr;
    QAction *N1 = nullptr;       // delete

    // The slots' addresses, as last read or added.
    std::array<QString, Slots> MyRadioUrls;

    static QString fieldsMissingText();
    static QString noFreeSlotText();

public Q_SLOTS:
    void slotClick(int slot); // sBitBtn1Click..sBitBtn9Click, slot 1..9
    void sBitBtn10Click();
    void N1Click();
    void sEdit1Click();
    void sEdit2Click();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void FormShow();

    std::array<SkinButton *, Slots + 2> m_bitBtn{};
    SkinButton *m_popupComponent = nullptr;
};

} // namespace vidmo
