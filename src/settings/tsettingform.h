#pragma once

#include "settings/sleeptimer.h"

#include <QDialog>

#include <memory>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QTabWidget;
class QTimer;
class QWidget;

namespace vidmo {

struct AppContext;
class IniFile;
class IWebView;
class SettingsActions;
class Updater;

// The settings window. Its creation loads Setting.ini and the language file;
// afterwards its controls hold the live settings that other windows read.
class TSettingForm final : public QDialog
{
    Q_OBJECT

public:
    static constexpr int ClientWidth = 494;
    static constexpr int ClientHeight = 328;

    explicit TSettingForm(AppContext &ctx);
    ~TSettingForm() override;

    // The five language radio buttons in their fixed order.
    QRadioButton *languageButton(int index) const;

    QTabWidget *sPageControl1 = nullptr;
    QWidget *sTabSheet1 = nullptr, *sTabSheet2 = nullptr, *sTabSheet3 = nullptr,
            *sTabSheet4 = nullptr, *sTabSheet5 = nullptr, *sTabSheet6 = nullptr,
            *sTabSheet7 = nullptr;
    QPushButton *sBitBtn15 = nullptr; // "Выход"

    // "О программе"
    QLabel *Image1 = nullptr;

    // "Настройки"
    QGroupBox *sRadioGroup1 = nullptr, *sRadioGroup2 = nullptr, *sRadioGroup3 = nullptr,
              *sRadioGroup4 = nullptr;
    QPushButton *sBitBtn8 = nullptr, *sBitBtn9 = nullptr, *sBitBtn10 = nullptr,
                *sBitBtn11 = nullptr, *sButton1 = nullptr;
    QLineEdit *sEdit8 = nullptr, *sEdit1 = nullptr, *sEdit5 = nullptr, *sEdit6 = nullptr;
    QCheckBox *sCheckBox2 = nullptr;
    QComboBox *sComboBox1 = nullptr;

    // "Настройки прокси"
    QLabel *sLabel1 = nullptr, *sLabel2 = nullptr;
    QLineEdit *sEdit2 = nullptr, *sEdit3 = nullptr;
    QCheckBox *sCheckBox1 = nullptr;
    QPushButton *sBitBtn1 = nullptr;

    // "Таймер"
    QLabel *sLabel3 = nullptr, *sLabel4 = nullptr, *sLabel11 = nullptr, *sLabel12 = nullptr,
           *sLabel13 = nullptr;
    QLineEdit *sEdit4 = nullptr;
    QPushButton *sBitBtn2 = nullptr, *sButton2 = nullptr;
    QTimer *Timer1 = nullptr;

    // "Нет видео"
    QLabel *sLabel5 = nullptr, *sLabel6 = nullptr, *sLabel7 = nullptr, *sLabel9 = nullptr,
           *sLabel10 = nullptr;
    QPushButton *sButton3 = nullptr, *sBitBtn5 = nullptr, *sBitBtn4 = nullptr,
                *sBitBtn6 = nullptr, *sBitBtn7 = nullptr, *sBitBtn12 = nullptr;

    // "Обновления"
    QLabel *sLabel15 = nullptr, *sLabel17 = nullptr, *sLabel14 = nullptr, *sLabel18 = nullptr,
           *sLabel16 = nullptr;
    QPushButton *sBitBtn13 = nullptr, *sButton4 = nullptr;
    IWebView *Chromium1 = nullptr;
    QProgressBar *sProgressBar1 = nullptr;

    // "Язык"
    QGroupBox *sRadioGroup5 = nullptr;
    QRadioButton *sRadioButton1 = nullptr, *sRadioButton2 = nullptr, *sRadioButton3 = nullptr,
                 *sRadioButton4 = nullptr, *sRadioButton5 = nullptr;
    QPushButton *sBitBtn14 = nullptr;
    QLineEdit *sEdit7 = nullptr;

public Q_SLOTS:
    void sComboBox1Change();
    void sBitBtn10Click();
    void sBitBtn11Click();
    void sBitBtn8Click();
    void sBitBtn9Click();
    void sButton1Click();
    void sEdit8Click();
    void sBitBtn1Click();
    void sButton3Click();
    void sBitBtn5Click();
    void sBitBtn4Click();
    void sBitBtn6Click();
    void sBitBtn7Click();
    void sBitBtn12Click();
    void sBitBtn14Click();
    void sBitBtn15Click();

    // Sleep timer.
    void sBitBtn2Click();
    void sButton2Click();
    void Timer1Timer();

    // Update check and download.
    void sButton4Click();
    void sBitBtn13Click();

public:
    // Progress of IdHTTP1's transfers; counts in bytes.
    void IdHTTP1WorkBegin(qint64 expectedTotal);
    void IdHTTP1Work(qint64 countSoFar);
    void IdHTTP1WorkEnd();

protected:
    void reject() override;

private:
    class Progress;

    void FormCreate();
    void FormDestroy();

    void buildAboutTab();
    void buildGeneralTab();
    void buildProxyTab();
    void buildTimerTab();
    void buildNoVideoTab();
    void buildUpdatesTab();
    void buildLanguageTab();

    void chooseLanguageFile();
    void connectHandlers();
    void stayOnTop(bool onTop);
    void setTransferButtonsEnabled(bool enabled);
    void showMessage(const char *key);

    AppContext &m_ctx;
    std::unique_ptr<IniFile> m_settingsFile;
    std::unique_ptr<SettingsActions> m_actions;
    std::unique_ptr<Updater> m_updater;
    std::unique_ptr<Progress> m_progress;
    SleepTimer m_sleepTimer;
};

} // namespace vidmo
