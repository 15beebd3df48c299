#include "settings/tsettingform.h"

#include "app/appcontext.h"
#include "app/guard.h"
#include "app/skinengine.h"
#include "app/tform1.h"
#include "app/windowutil.h"
#include "settings/httpclient.h"
#include "settings/inifile.h"
#include "settings/interfacetexts.h"
#include "settings/languages.h"
#include "web/webview.h"

#include <QCheckBox>
#include <QComboBox>
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

} // namespace

TSettingForm::TSettingForm(AppContext &ctx) : QDialog(nullptr), m_ctx(ctx)
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
    connect(sBitBtn15, &QPushButton::clicked, this, &TSettingForm::sBitBtn15Click);
    connect(sBitBtn14, &QPushButton::clicked, this, &TSettingForm::sBitBtn14Click);

    sPageControl1->setCurrentIndex(0);
    FormCreate();
}

TSettingForm::~TSettingForm()
{
    FormDestroy();
}

void TSettingForm::buildAboutTab()
{
    Image1 = make<QLabel>(sTabSheet1, "Image1");
    Image1->setGeometry(0, 0, 484, 330);
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
