#pragma once

#include <QWidget>

#include <array>
#include <cstdint>
#include <memory>

class QFrame;
class QLabel;
class QMenu;
class QAction;
class QByteArray;
class QLineEdit;
class QPushButton;
class QScrollBar;
class QSystemTrayIcon;
class QToolButton;

namespace vidmo {

struct AppContext;
class IWebView;
class SkinButton;
class TrayMinimize;
class RadioPanel;

// The main window: category row, channel grid, web view, radio panel,
// tool bar and tray icon. It owns the process: closing it ends the program.
class TForm1 final : public QWidget
{
    Q_OBJECT

public:
    static constexpr int ClientWidth = 807;
    static constexpr int ClientHeight = 543;
    static constexpr int FirstGridButton = 10;
    static constexpr int LastGridButton = 42;

    explicit TForm1(AppContext &ctx);
    ~TForm1() override;

    // sBitBtn1..sBitBtn42, sBitBtn44, sBitBtn45; nullptr for any other number.
    SkinButton *sBitBtn(int number) const;
    // sSpeedButton1..sSpeedButton9 (tool bar), sSpeedButton10..sSpeedButton14 (radio panel).
    QToolButton *sSpeedButton(int number) const;
    // The grid in grid order: sBitBtn10 .. sBitBtn42.
    QVector<SkinButton *> gridButtons() const;
    // The skinned button the context menu was last opened on.
    SkinButton *popupComponent() const { return m_popupComponent; }

    QFrame *sPanel1 = nullptr;
    QFrame *sPanel2 = nullptr;
    IWebView *Chromium1 = nullptr;
    QLabel *sLabel1 = nullptr;
    QLabel *sLabel2 = nullptr;
    QLabel *sLabel3 = nullptr;
    QLabel *sLabel4 = nullptr;
    QPushButton *StartTVButton = nullptr;
    QPushButton *Button1 = nullptr;
    QSystemTrayIcon *TrayIcon1 = nullptr;
    QMenu *PopupMenu1 = nullptr;
    QAction *N1 = nullptr;

    // The radio panel on sPanel2.
    QScrollBar *sScrollBar1 = nullptr;
    QLabel *sLabel5 = nullptr;
    QLineEdit *sEdit1 = nullptr; // the recording name, never shown

    // The audio engine's current stream; keeps a freed handle, which the
    // engine then refuses.
    std::uint32_t RadioStream = 0;
    // The own station Button1 plays next.
    QString MyRadioUrl;
    // Replaces the current radio stream with the station at url.
    void StartRadioStream(const QByteArray &url);
    RadioPanel &radio() { return *m_radio; }

public Q_SLOTS:
    // Category row, channel grid and dispatcher (navigation and catalogue).
    void sBitBtn1Click();
    void sBitBtn2Click();
    void sBitBtn3Click();
    void sBitBtn4Click();
    void sBitBtn5Click();
    void sBitBtn6Click();
    void sBitBtn7Click();
    void sBitBtn8Click();
    void sBitBtn9Click();
    void sBitBtn44Click();
    void sBitBtn45Click();
    // sBitBtn10Click..sBitBtn42Click: one handler bound to each grid button.
    void channelButtonClick(vidmo::SkinButton *button);
    void StartTVButtonClick();
    // The closed section (heart button of the tool bar).
    void sSpeedButton4Click();
    // The rest of the tool bar, tray and minimise, adding a favourite.
    void sSpeedButton1Click();
    void sSpeedButton2Click();
    void sSpeedButton3Click();
    void sSpeedButton5Click();
    void sSpeedButton6Click();
    void sSpeedButton7Click();
    void sSpeedButton8Click();
    void sSpeedButton9Click();
    void AppMinimize();
    void TrayIcon1DblClick();
    void N1Click();
    // The radio panel and Button1.
    void Button1Click();
    void sScrollBar1Change();
    void sSpeedButton10Click();
    void sSpeedButton11Click();
    void sSpeedButton12Click();
    void sSpeedButton13Click();
    void sSpeedButton14Click();

Q_SIGNALS:
    // The window was closed; the program block ends the event loop.
    void closed();

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void FormCreate();
    void FormShow();
    void FormDestroy();

    void buildCategoryRow();
    void buildPanel();
    void buildToolBar();
    void buildRadioPanel();
    void showPopupMenu(SkinButton *button, const QPoint &pos);
    void connectNavigation();
    void connectToolBar();

    AppContext &m_ctx;
    std::array<SkinButton *, 46> m_bitBtn{};
    std::array<QToolButton *, 15> m_speedBtn{};
    SkinButton *m_popupComponent = nullptr;
    std::unique_ptr<TrayMinimize> m_tray;
    std::unique_ptr<RadioPanel> m_radio;
};

} // namespace vidmo
