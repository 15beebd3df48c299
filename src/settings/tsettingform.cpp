#include "settings/tsettingform.h"

#include "app/appcontext.h"
#include "app/guard.h"
#include "app/skinengine.h"
#include "app/tform1.h"
#include "app/windowutil.h"
#include "settings/aboutpicture.h"
#include "settings/httpclient.h"
#include "settings/inifile.h"
#include "settings/interfacetexts.h"
#include "settings/languages.h"
#include "settings/settingsactions.h"
#include "settings/updater.h"
#include "web/webview.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTimer>

namespace vidmo {

namespace {

template <typename T>
T *make(QWidget *parent, const char *name)
{
    auto *w = new T(parent);
    w->setObjectName(QString::fromLatin1(name));
    return w;
}

QPushButton *button(QWidget *parent, const char *name, const QString &text, QRect geometry)
{
    auto *b = make<QPushButton>(parent, name);
    b->setText(text);
    b->setGeometry(geometry);
    return b;
}

QLabel *label(QWidget *parent, const char *name, const QString &text, QPoint at)
{
    auto *l = make<QLabel>(parent, name);
    l->setText(text);
    l->move(at);
    l->adjustSize();
    return l;
}

QLineEdit *edit(QWidget *parent, const char *name, const QString &text, QRect geometry)
{
    auto *e = make<QLineEdit>(parent, name);
    e->setText(text);
    e->setGeometry(geometry);
    return e;
}

QGroupBox *frame(QWidget *parent, const char *name, const QString &title, QRect geometry)
{
    auto *g = make<QGroupBox>(parent, name);
    g->setTitle(title);
    g->setGeometry(geometry);
    return g;
}

// 32 bits: the progress bar counts in int.
int low32(qint64 count)
{
    return int(qint32(quint32(quint64(count) & 0xffffffffu)));
}

} // namespace

// Hands IdHTTP1's progress events to the window's handlers.
class TSettingForm::Progress final : public IHttpProgress
{
public:
    explicit Progress(TSettingForm &form) : m_form(form) {}
    void workBegin(qint64 expectedTotal) override { m_form.IdHTTP1WorkBegin(expectedTotal); }
    void work(qint64 countSoFar) override { m_form.IdHTTP1Work(countSoFar); }
    void workEnd() override { m_form.IdHTTP1WorkEnd(); }

private:
    TSettingForm &m_form;
};

TSettingForm::TSettingForm(AppContext &ctx)
    : QDialog(nullptr), m_ctx(ctx), m_actions(std::make_unique<SettingsActions>(ctx)),
      m_progress(std::make_unique<Progress>(*this))
{
    // Known to the others before the creation handler runs, which puts texts on it.
    m_ctx.windows.SettingForm = this;
    setupWindow(this, QStringLiteral("SettingForm"), ClientWidth, ClientHeight, TitleButtons::Close);
    setWindowTitle(QStringLiteral("Настройки"));
    setFont(layoutFont(QStringLiteral("Tahoma"), 8));

    sPageControl1 = make<QTabWidget>(this, "sPageControl1");
    sPageControl1->setGeometry(0, 0, ClientWidth, ClientHeight);
    struct Tab
    {
        QWidget **page;
        const char *name;
        const char16_t *caption;
    };
    const Tab tabs[] = {
        {&sTabSheet1, "sTabSheet1", u"О программе"}, {&sTabSheet2, "sTabSheet2", u"Настройки"},
        {&sTabSheet4, "sTabSheet4", u"Настройки прокси"}, {&sTabSheet6, "sTabSheet6", u"Таймер"},
        {&sTabSheet3, "sTabSheet3", u"Нет видео"}, {&sTabSheet5, "sTabSheet5", u"Обновления"},
        {&sTabSheet7, "sTabSheet7", u"Язык"},
    };
    for (const Tab &t : tabs) {
        *t.page = new QWidget;
        (*t.page)->setObjectName(QString::fromLatin1(t.name));
        sPageControl1->addTab(*t.page, QString::fromUtf16(t.caption));
    }

    buildAboutTab();
    buildGeneralTab();
    buildProxyTab();
    buildTimerTab();
    buildNoVideoTab();
    buildUpdatesTab();
    buildLanguageTab();

    sBitBtn15 = button(this, "sBitBtn15", QStringLiteral("Выход"), {410, 300, 75, 25});
    sBitBtn15->setAutoDefault(false);

    const Services &services = m_ctx.services;
    if (services.http && services.shell) {
        m_updater = std::make_unique<Updater>(*services.http, *services.shell,
                                              services.serverBase, services.programDir);
        services.http->setProgress(m_progress.get());
    }
    connectHandlers();

    sPageControl1->setCurrentIndex(0);
    FormCreate();
}

TSettingForm::~TSettingForm()
{
    if (m_updater)
        m_ctx.services.http->setProgress(nullptr);
    FormDestroy();
}

void TSettingForm::connectHandlers()
{
    // activated: only the user's choice, not the empty selection set at creation.
    connect(sComboBox1, &QComboBox::activated, this, &TSettingForm::sComboBox1Change);
    const std::pair<QPushButton *, void (TSettingForm::*)()> clicks[] = {
        {sBitBtn10, &TSettingForm::sBitBtn10Click}, {sBitBtn11, &TSettingForm::sBitBtn11Click},
        {sBitBtn8, &TSettingForm::sBitBtn8Click},   {sBitBtn9, &TSettingForm::sBitBtn9Click},
        {sButton1, &TSettingForm::sButton1Click},   {sBitBtn1, &TSettingForm::sBitBtn1Click},
        {sButton3, &TSettingForm::sButton3Click},   {sBitBtn5, &TSettingForm::sBitBtn5Click},
        {sBitBtn4, &TSettingForm::sBitBtn4Click},   {sBitBtn6, &TSettingForm::sBitBtn6Click},
        {sBitBtn7, &TSettingForm::sBitBtn7Click},   {sBitBtn12, &TSettingForm::sBitBtn12Click},
        {sBitBtn14, &TSettingForm::sBitBtn14Click}, {sBitBtn15, &TSettingForm::sBitBtn15Click},
        {sBitBtn2, &TSettingForm::sBitBtn2Click},   {sButton2, &TSettingForm::sButton2Click},
        {sButton4, &TSettingForm::sButton4Click},   {sBitBtn13, &TSettingForm::sBitBtn13Click},
    };
    for (const auto &[control, handler] : clicks)
        connect(control, &QPushButton::clicked, this, handler);
    connect(Timer1, &QTimer::timeout, this, &TSettingForm::Timer1Timer);
    onLeftPress(sEdit8, [this] { sEdit8Click(); });

    // Quitting while a transfer runs: end it, so that nothing is saved or started.
    if (TForm1 *main = m_ctx.windows.Form1) {
        connect(main, &TForm1::closed, this, [this] {
            if (m_updater)
                m_updater->abort();
        });
    }
}

void TSettingForm::buildAboutTab()
{
    Image1 = make<QLabel>(sTabSheet1, "Image1");
    Image1->setGeometry(0, 0, 484, 330);
    Image1->setPixmap(drawAboutPicture(Image1->size()));
}

void TSettingForm::buildGeneralTab()
{
    QWidget *tab = sTabSheet2;
    sRadioGroup1 = frame(tab, "sRadioGroup1", QStringLiteral("Сворачивать приложение"), {5, 3, 480, 70});
    sRadioGroup2 = frame(tab, "sRadioGroup2", QStringLiteral("Закрытый раздел"), {5, 76, 480, 70});
    sRadioGroup3 = frame(tab, "sRadioGroup3", QStringLiteral("Оформление"), {5, 149, 480, 70});
    sRadioGroup4 = frame(tab, "sRadioGroup4", QStringLiteral("Поверх всех окон"), {5, 222, 480, 70});

    // The buttons and boxes lie on the tab, over the frames.
    sBitBtn8 = button(tab, "sBitBtn8", QStringLiteral("В системный трей"), {20, 30, 150, 25});
    sBitBtn9 = button(tab, "sBitBtn9", QStringLiteral("В панель задач"), {180, 30, 150, 25});

    sEdit8 = edit(tab, "sEdit8", QStringLiteral("Старый пароль"), {20, 105, 121, 21});
    sEdit1 = edit(tab, "sEdit1", QStringLiteral("580"), {150, 105, 121, 21});
    sEdit1->setEchoMode(QLineEdit::Password);
    sButton1 = button(tab, "sButton1", QStringLiteral("ОК"), {280, 103, 50, 25});
    sCheckBox2 = make<QCheckBox>(tab, "sCheckBox2");
    sCheckBox2->setText(QStringLiteral("Использовать пароль"));
    sCheckBox2->setGeometry(340, 106, 140, 19);

    sComboBox1 = make<QComboBox>(tab, "sComboBox1");
    sComboBox1->setGeometry(20, 178, 250, 21);
    sComboBox1->addItems(m_ctx.skins->names());
    sComboBox1->setCurrentIndex(-1); // the list shows no selection, whatever skin is in use

    sBitBtn10 = button(tab, "sBitBtn10", QStringLiteral("Включить"), {20, 249, 150, 25});
    sBitBtn11 = button(tab, "sBitBtn11", QStringLiteral("Выключить"), {180, 249, 150, 25});

    sEdit5 = edit(tab, "sEdit5", QStringLiteral("sEdit5"), {350, 30, 60, 21});
    sEdit5->hide();
    sEdit6 = edit(tab, "sEdit6", QStringLiteral("sEdit6"), {350, 250, 60, 21});
    sEdit6->hide();
}

void TSettingForm::buildProxyTab()
{
    QWidget *tab = sTabSheet4;
    sLabel1 = label(tab, "sLabel1", QStringLiteral("Адрес:"), {15, 22});
    sEdit2 = edit(tab, "sEdit2", QString(), {60, 18, 160, 21});
    sLabel2 = label(tab, "sLabel2", QStringLiteral("Порт:"), {235, 22});
    sEdit3 = edit(tab, "sEdit3", QString(), {270, 18, 60, 21});
    sCheckBox1 = make<QCheckBox>(tab, "sCheckBox1");
    sCheckBox1->setText(QStringLiteral("Использовать настройки прокси"));
    sCheckBox1->setGeometry(15, 52, 300, 19);
    sBitBtn1 = button(tab, "sBitBtn1", QStringLiteral("Сохранить настройки соединения"),
                      {15, 82, 220, 25});
}

void TSettingForm::buildTimerTab()
{
    QWidget *tab = sTabSheet6;
    sLabel3 = label(tab, "sLabel3", QStringLiteral("Закрыть программу через "), {15, 25});
    sEdit4 = edit(tab, "sEdit4", QString(), {150, 20, 121, 21});
    sLabel4 = label(tab, "sLabel4", QStringLiteral("минут"), {275, 25});
    sBitBtn2 = button(tab, "sBitBtn2", QStringLiteral("Подтвердить"), {150, 50, 121, 25});
    sLabel11 = label(tab, "sLabel11", QStringLiteral("Программа будет закрыта через "), {15, 96});
    sLabel12 = label(tab, "sLabel12", QStringLiteral("0000000"), {190, 96});
    sLabel13 = label(tab, "sLabel13", QStringLiteral("секунд"), {238, 95});
    sButton2 = button(tab, "sButton2", QStringLiteral("Сброс"), {150, 120, 121, 25});

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(1000);
}

void TSettingForm::buildNoVideoTab()
{
    QWidget *tab = sTabSheet3;
    sLabel5 = label(tab, "sLabel5", QStringLiteral("Для просмотра телеканалов необходимы:"), {15, 12});
    sLabel6 = label(tab, "sLabel6", QStringLiteral("Adobe Flash Player"), {15, 46});
    sButton3 = button(tab, "sButton3", QStringLiteral("32 Бит"), {230, 41, 75, 25});
    sBitBtn5 = button(tab, "sBitBtn5", QStringLiteral("64 Бит"), {310, 41, 75, 25});
    sLabel7 = label(tab, "sLabel7", QStringLiteral("Windows Media Player"), {15, 81});
    sBitBtn4 = button(tab, "sBitBtn4", QStringLiteral("Установить"), {230, 76, 155, 25});
    sLabel9 = label(tab, "sLabel9", QStringLiteral("Microsoft Silverlight"), {15, 116});
    sBitBtn6 = button(tab, "sBitBtn6", QStringLiteral("Установить"), {230, 111, 155, 25});
    sLabel10 = label(tab, "sLabel10", QStringLiteral("VLC media player v.1.0.5"), {15, 151});
    sBitBtn7 = button(tab, "sBitBtn7", QStringLiteral("Установить"), {230, 146, 155, 25});
    sBitBtn12 = button(tab, "sBitBtn12", QStringLiteral("Помощь"), {15, 190, 100, 25});
}

void TSettingForm::buildUpdatesTab()
{
    QWidget *tab = sTabSheet5;
    const QFont big = layoutFont(QStringLiteral("Tahoma"), 14);
    const QFont bigBold = layoutFont(QStringLiteral("Tahoma"), 14, true);
    sLabel15 = label(tab, "sLabel15", QStringLiteral("Ваша версия программы"), {10, 5});
    sLabel15->setFont(big);
    sLabel17 = label(tab, "sLabel17", QStringLiteral("2.4"), {233, 3});
    sLabel17->setFont(bigBold);
    sLabel14 = label(tab, "sLabel14", QStringLiteral("Актуальная версия программы"), {10, 35});
    sLabel14->setFont(big);
    sLabel18 = label(tab, "sLabel18", QStringLiteral("0"), {287, 35});
    sLabel18->setFont(bigBold);
    for (QLabel *l : {sLabel15, sLabel17, sLabel14, sLabel18})
        l->adjustSize();

    sBitBtn13 = button(tab, "sBitBtn13", QStringLiteral("Скачать"), {10, 72, 150, 25});
    sButton4 = button(tab, "sButton4", QStringLiteral("Проверить"), {165, 72, 115, 25});

    Chromium1 = m_ctx.services.webViews->create(tab);
    Chromium1->widget()->setObjectName(QStringLiteral("Chromium1"));
    Chromium1->widget()->setGeometry(10, 110, 270, 110);

    sLabel16 = label(tab, "sLabel16", QStringLiteral("Статус загрузки"), {216, 237});
    sLabel16->setFont(layoutFont(QStringLiteral("Tahoma"), 8, true));
    sLabel16->adjustSize();
    sProgressBar1 = make<QProgressBar>(tab, "sProgressBar1");
    sProgressBar1->setGeometry(10, 256, 465, 17);
    sProgressBar1->setTextVisible(false);
    sProgressBar1->setValue(0);
}

void TSettingForm::buildLanguageTab()
{
    QWidget *tab = sTabSheet7;
    sRadioGroup5 = frame(tab, "sRadioGroup5", QStringLiteral("Язык программы"), {5, 5, 475, 275});
    QRadioButton **buttons[] = {&sRadioButton1, &sRadioButton2, &sRadioButton3, &sRadioButton4,
                                &sRadioButton5};
    for (int i = 0; i < 5; ++i) {
        auto *r = make<QRadioButton>(sRadioGroup5, "");
        r->setObjectName(QStringLiteral("sRadioButton%1").arg(i + 1));
        r->setText(languageCaption(i));
        r->setGeometry(15, 35 + 24 * i, 300, 19);
        *buttons[i] = r;
    }
    sRadioButton1->setChecked(true);
    sBitBtn14 = button(sRadioGroup5, "sBitBtn14", QStringLiteral("Применить"), {15, 235, 100, 25});
    sEdit7 = edit(tab, "sEdit7", QString(), {350, 240, 100, 21});
    sEdit7->hide();
}

QRadioButton *TSettingForm::languageButton(int index) const
{
    QRadioButton *const buttons[] = {sRadioButton1, sRadioButton2, sRadioButton3, sRadioButton4,
                                     sRadioButton5};
    return index >= 0 && index < 5 ? buttons[index] : nullptr;
}

void TSettingForm::FormCreate()
{
    const auto S = [](const char *s) { return QString::fromLatin1(s); };

    // 1.
    m_settingsFile = std::make_unique<IniFile>(m_ctx.services.programDir + S("Setting.ini"));
    m_ctx.settingsFile = m_settingsFile.get();
    IniFile &ini = *m_settingsFile;
    // 2.
    m_ctx.skins->setSkin(ini.readString(S("Skin"), S("useSkin"), SkinEngine::defaultSkin()));
    // 3.-6.
    sEdit1->setText(ini.readString(S("SecretCode"), S("useSecretCode"), S("580")));
    sEdit5->setText(ini.readString(S("OnTop"), S("useOnTop"), S("0")));
    sEdit6->setText(ini.readString(S("InTray"), S("useInTray"), S("0")));
    sEdit2->setText(ini.readString(S("Proxy"), S("useIP"), S("0")));
    sEdit3->setText(ini.readString(S("Proxy"), S("usePort"), S("0")));
    // 7.-8.
    sCheckBox1->setChecked(ini.readBool(S("Proxy"), S("useProxy"), false));
    sCheckBox2->setChecked(ini.readBool(S("SecretCode"), S("SelectSecretCode"), true));
    // 9.
    sEdit7->setText(ini.readString(S("Language"), S("useLanguage"), languageCaption(0)));
    chooseLanguageFile();
    applyInterfaceTexts(m_ctx);

    // 10. A stored port that is not a whole number is reported; unlike a bare
    // failure of the whole loader, stay-on-top and the advert page still follow.
    if (IHttpClient *http = m_ctx.services.http) {
        if (sCheckBox1->isChecked())
            http->setProxyHost(sEdit2->text());
        bool ok = false;
        const int port = sEdit3->text().toInt(&ok, 10);
        if (ok)
            http->setProxyPort(port);
        else
            m_ctx.services.messageBox->show(
                QStringLiteral("''%1'' is not a valid integer value").arg(sEdit3->text()));
    }
    // 11.
    if (sEdit5->text() == S("1") && m_ctx.windows.Form1)
        setStayOnTop(m_ctx.windows.Form1, true);
    // 12.
    Chromium1->load(m_ctx.server(S("/actual/reklama.php")));
}

void TSettingForm::chooseLanguageFile()
{
    for (int i = 0; i < 5; ++i) {
        if (sEdit7->text() == languageCaption(i))
            languageButton(i)->setChecked(true);
    }
    for (int i = 0; i < 5; ++i) {
        if (languageButton(i)->isChecked()) {
            m_ctx.languageFileStore = std::make_unique<IniFile>(m_ctx.services.programDir
                                                       + QStringLiteral("Language/")
                                                       + QString::fromLatin1(Languages[i].file));
        }
    }
    m_ctx.languageFile = m_ctx.languageFileStore.get();
}

void TSettingForm::FormDestroy()
{
    m_ctx.settingsFile = nullptr;
    m_settingsFile.reset();
}

void TSettingForm::sBitBtn14Click()
{
    guard(*m_ctx.services.messageBox, [this] {
        for (int i = 0; i < 5; ++i) {
            QRadioButton *r = languageButton(i);
            if (r->isChecked()) {
                m_ctx.settingsFile->writeString(QStringLiteral("Language"),
                                                QStringLiteral("useLanguage"), r->text());
                m_ctx.services.messageBox->show(
                    m_ctx.lang(QStringLiteral("Message"), QStringLiteral("changes")));
            }
        }
    });
}

void TSettingForm::sComboBox1Change()
{
    guard(*m_ctx.services.messageBox, [this] { m_actions->chooseSkin(sComboBox1->currentText()); });
}

void TSettingForm::stayOnTop(bool onTop)
{
    guard(*m_ctx.services.messageBox, [this, onTop] {
        setStayOnTop(this, onTop);
        if (m_ctx.windows.Form1)
            setStayOnTop(m_ctx.windows.Form1, onTop);
        sBitBtn10->setEnabled(!onTop);
        sBitBtn11->setEnabled(onTop);
        m_actions->storeStayOnTop(onTop);
    });
}

void TSettingForm::sBitBtn10Click() { stayOnTop(true); }

void TSettingForm::sBitBtn11Click() { stayOnTop(false); }

void TSettingForm::sBitBtn8Click()
{
    guard(*m_ctx.services.messageBox, [this] {
        m_actions->storeMinimiseToTray(true);
        sBitBtn8->setEnabled(false);
        sBitBtn9->setEnabled(true);
    });
}

void TSettingForm::sBitBtn9Click()
{
    guard(*m_ctx.services.messageBox, [this] {
        m_actions->storeMinimiseToTray(false);
        sBitBtn9->setEnabled(false);
        sBitBtn8->setEnabled(true);
    });
}

void TSettingForm::sButton1Click()
{
    guard(*m_ctx.services.messageBox, [this] {
        m_actions->changePassword(sEdit8->text(), sEdit1->text(), sCheckBox2->isChecked());
    });
}

void TSettingForm::sEdit8Click() { sEdit8->setText(SettingsActions::afterPromptClick(sEdit8->text())); }

void TSettingForm::sBitBtn1Click()
{
    guard(*m_ctx.services.messageBox, [this] {
        m_actions->saveProxy(sEdit2->text(), sEdit3->text(), sCheckBox1->isChecked());
    });
}

void TSettingForm::sButton3Click() { m_actions->open(ComponentPage::Flash32); }

void TSettingForm::sBitBtn5Click() { m_actions->open(ComponentPage::Flash64); }

void TSettingForm::sBitBtn4Click() { m_actions->open(ComponentPage::MediaPlayer); }

void TSettingForm::sBitBtn6Click() { m_actions->open(ComponentPage::Silverlight); }

void TSettingForm::sBitBtn7Click() { m_actions->open(ComponentPage::Vlc); }

void TSettingForm::sBitBtn12Click() { m_actions->open(ComponentPage::Help); }

void TSettingForm::showMessage(const char *key)
{
    m_ctx.services.messageBox->show(
        m_ctx.lang(QStringLiteral("Message"), QString::fromLatin1(key)));
}

void TSettingForm::sBitBtn2Click()
{
    if (!m_sleepTimer.confirm(sEdit4->text())) {
        showMessage("Donotenteravalueoftrue");
        return;
    }
    // A running countdown keeps its rhythm and counts on from the new value.
    if (!Timer1->isActive())
        Timer1->start();
}

void TSettingForm::Timer1Timer()
{
    const qint32 left = m_sleepTimer.tick();
    sLabel12->setText(QString::number(left));
    sLabel12->adjustSize();
    if (left == 0) {
        Timer1->stop();
        if (m_ctx.windows.Form1)
            m_ctx.windows.Form1->close();
    }
}

void TSettingForm::sButton2Click()
{
    Timer1->stop();
    sLabel12->setText(QStringLiteral("0000000"));
    sLabel12->adjustSize();
}

void TSettingForm::setTransferButtonsEnabled(bool enabled)
{
    sButton4->setEnabled(enabled);
    sBitBtn13->setEnabled(enabled);
}

void TSettingForm::sButton4Click()
{
    // The event loop runs during a transfer: one request at a time.
    if (!m_updater || m_ctx.services.http->busy())
        return;
    setTransferButtonsEnabled(false);
    const Updater::Check check = m_updater->check();
    setTransferButtonsEnabled(true);
    if (check.outcome == Updater::Outcome::Done) {
        sLabel18->setText(check.version);
        sLabel18->adjustSize();
    } else if (check.outcome == Updater::Outcome::Failed) {
        showMessage("ErrorUpgrade");
    }
}

void TSettingForm::sBitBtn13Click()
{
    if (!m_updater || m_ctx.services.http->busy())
        return;
    setTransferButtonsEnabled(false);
    guard(*m_ctx.services.messageBox, [this] {
        switch (m_updater->download()) {
        case Updater::Outcome::Done:
            if (m_ctx.windows.Form1)
                m_ctx.windows.Form1->close();
            break;
        case Updater::Outcome::Failed:
            showMessage("ErrorUpgrade");
            break;
        case Updater::Outcome::Aborted:
            break;
        }
    });
    setTransferButtonsEnabled(true);
}

void TSettingForm::IdHTTP1WorkBegin(qint64 expectedTotal)
{
    sProgressBar1->setMaximum(qMax(0, low32(expectedTotal)));
}

void TSettingForm::IdHTTP1Work(qint64 countSoFar)
{
    // The client keeps the event loop running itself; no extra round here.
    sProgressBar1->setValue(low32(countSoFar));
}

void TSettingForm::IdHTTP1WorkEnd()
{
    sProgressBar1->setValue(0);
    setTransferButtonsEnabled(true);
}

void TSettingForm::sBitBtn15Click()
{
    QDialog::reject();
}

void TSettingForm::reject()
{
    // Esc and the close box act as "Выход".
    sBitBtn15->click();
}

} // namespace vidmo
