// Checks the five shipped language files: every key the program reads is there
// with a real text, nothing else is, the language captions the settings file
// stores are untouched, and the category captions can be told apart.

#include "settings/inifile.h"

#include <QFile>
#include <QSet>
#include <QStringDecoder>
#include <QTest>

namespace {

struct KeyRow
{
    const char *section;
    const char *key;
    // Text the relabelled control carries at design time; Russian.lng must
    // match it exactly. Empty where the control has none.
    const char *designText;
};

// Every key the program reads from a language file. Where one key feeds
// several controls, the design text is that of the first.
const KeyRow kKeys[] = {
    {"Settings", "SettingsForm", "Настройки"},
    {"Settings", "About", "О программе"},
    {"Settings", "Setting", "Настройки"},
    {"Settings", "noVideo", "Нет видео"},
    {"Settings", "proxySetting", "Настройки прокси"},
    {"Settings", "updates", "Обновления"},
    {"Settings", "timer", "Таймер"},
    {"Settings", "language", "Язык"},
    {"Settings", "minimizeapplication", "Сворачивать приложение"},
    {"Settings", "Closedsection", "Закрытый раздел"},
    {"Settings", "design", "Оформление"},
    {"Settings", "Ontop", "Поверх всех окон"},
    {"Settings", "Inthesystemtray", "В системный трей"},
    {"Settings", "IntheTaskbar", "В панель задач"},
    {"Settings", "turnon", "Включить"},
    {"Settings", "turnoff", "Выключить"},
    {"Settings", "ip", "Адрес:"},
    {"Settings", "port", "Порт:"},
    {"Settings", "Useproxysettings", "Использовать настройки прокси"},
    {"Settings", "Savetheconnectionsettings", "Сохранить настройки соединения"},
    {"Settings", "Closetheprogramafter", "Закрыть программу через "},
    {"Settings", "minutes", "минут"},
    {"Settings", "confirm", "Подтвердить"},
    {"Settings", "Theprogramwillbeclosedafter", "Программа будет закрыта через "},
    {"Settings", "seconds", "секунд"},
    {"Settings", "reset", "Сброс"},
    {"Settings", "ToviewtheTVchannelsyouneed", "Для просмотра телеканалов необходимы:"},
    {"Settings", "AdobeFlashPlayerforInternetExplorer", "Adobe Flash Player"},
    {"Settings", "Install", "Установить"},
    {"Settings", "Help", "Помощь"},
    {"Settings", "Download", "Скачать"},
    {"Settings", "Yourversion", "Ваша версия программы"},
    {"Settings", "Crucialversion", "Актуальная версия программы"},
    {"Settings", "StatusDownloads", "Статус загрузки"},
    {"Settings", "Russian", "Русский [Ru]"},
    {"Settings", "Ukrainian", "Украинский [Ua]"},
    {"Settings", "English", "Английский [En]"},
    {"Settings", "Belarusian", "Белорусский [Blr]"},
    {"Settings", "Chinese", "Китайский [Chi]"},
    {"Settings", "usethepassword", "Использовать пароль"},
    {"Category", "public", "Общественные"},
    {"Category", "radio", "Радио"},
    {"Category", "music", "Музыкальные"},
    {"Category", "entertainment", "Развлечения"},
    {"Category", "Research", "Научные"},
    {"Category", "Sport", "Спорт"},
    {"Category", "movie", "Кино"},
    {"Category", "Cartoons", "Мультики"},
    {"Category", "Records", "Записи"},
    {"Category", "foreign", "Зарубежные"},
    {"Category", "back", "Назад"},
    {"Category", "Ukrainian", ""},
    {"Category", "CISa", ""},
    {"Category", "CISb", ""},
    {"Category", "Miscellaneous", ""},
    {"Category", "erotica", ""},
    {"Category", "Porn", ""},
    {"Hint", "Settings", "Настройки"},
    {"Hint", "TVProgram", "ТВ программа"},
    {"Hint", "Closedsection", "Закрытый раздел"},
    {"Hint", "favorites", "Избранное"},
    {"Hint", "Donations", "Помощь проекту"},
    {"Message", "AddtoFavorites", "Добавить в Избранное"},
    {"Message", "Password", "Для перехода в этот раздел необходимо ввести пароль"},
    {"Message", "incorrectpassword", ""},
    {"Message", "changes", ""},
    {"Message", "ErrorSecretCode", ""},
    {"Message", "Donotenteravalueoftrue", ""},
    {"Message", "ErrorUpgrade", ""},
    {"Message", "NoFavorite", ""},
    {"Message", "somethingiswrong", ""},
};

const char *const kFiles[] = {"Russian.lng", "Ukraine.lng", "England.lng", "Belarusian.lng",
                              "Chinese.lng"};

// The keys whose texts are stored as the chosen language and matched at start.
const char *const kLanguageKeys[] = {"Russian", "Ukrainian", "English", "Belarusian", "Chinese"};

QString filePath(const QString &name)
{
    return QStringLiteral(VIDMO_SOURCE_DIR "/data/Language/") + name;
}

QString designText(const char *section, const char *key)
{
    for (const KeyRow &row : kKeys) {
        if (qstrcmp(row.section, section) == 0 && qstrcmp(row.key, key) == 0)
            return QString::fromUtf8(row.designText);
    }
    return {};
}

// "Section/key" for every key of the table, spelled as the program spells it.
QSet<QString> expectedKeys()
{
    QSet<QString> keys;
    for (const KeyRow &row : kKeys)
        keys.insert(QString::fromUtf8(row.section) + u'/' + QString::fromUtf8(row.key));
    return keys;
}

} // namespace

class tst_LanguageFiles : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void encoding_data();
    void encoding();
    void onlyKnownKeys_data();
    void onlyKnownKeys();
    void everyKeyHasText_data();
    void everyKeyHasText();
    void languageCaptionsUntranslated_data();
    void languageCaptionsUntranslated();
    void categoryCaptionsDistinct_data();
    void categoryCaptionsDistinct();
    void russianMatchesDesignTexts_data();
    void russianMatchesDesignTexts();

private:
    void addFileRows();
};

void tst_LanguageFiles::addFileRows()
{
    QTest::addColumn<QString>("file");
    for (const char *name : kFiles)
        QTest::newRow(name) << QString::fromUtf8(name);
}

void tst_LanguageFiles::encoding_data()
{
    addFileRows();
}

void tst_LanguageFiles::encoding()
{
    QFETCH(QString, file);
    QFile f(filePath(file));
    QVERIFY2(f.open(QIODevice::ReadOnly), qPrintable(f.fileName()));
    const QByteArray bytes = f.readAll();

    QVERIFY2(!bytes.startsWith("\xEF\xBB\xBF"), "starts with a byte-order mark");
    QVERIFY2(!bytes.contains('\r'), "has CR line endings");
    QVERIFY2(bytes.endsWith('\n'), "last line is not terminated");

    QStringDecoder decoder(QStringDecoder::Utf8);
    const QString text = decoder.decode(bytes);
    QVERIFY2(!decoder.hasError(), "not valid UTF-8");
    QVERIFY(!text.contains(QChar::ReplacementCharacter));
}

void tst_LanguageFiles::onlyKnownKeys_data()
{
    addFileRows();
}

// The reader matches names regardless of case, so exact spelling and strays
// are checked on the raw lines.
void tst_LanguageFiles::onlyKnownKeys()
{
    QFETCH(QString, file);
    QFile f(filePath(file));
    QVERIFY2(f.open(QIODevice::ReadOnly), qPrintable(f.fileName()));
    const QStringList lines = QString::fromUtf8(f.readAll()).split(u'\n');

    const QSet<QString> expected = expectedKeys();
    QSet<QString> seenSections;
    QSet<QString> seenKeys;
    QStringList problems;
    QString section;
    for (int i = 0; i < lines.size(); ++i) {
        const QString line = lines.at(i).trimmed();
        const QString where = QStringLiteral("line %1: ").arg(i + 1);
        if (line.isEmpty())
            continue;
        if (line.startsWith(u'[')) {
            if (!line.endsWith(u']')) {
                problems << where + QStringLiteral("broken section line");
                continue;
            }
            section = line.mid(1, line.size() - 2);
            const QString folded = section.toLower();
            bool known = false;
            for (const KeyRow &row : kKeys)
                known = known || section == QString::fromUtf8(row.section);
            if (!known)
                problems << where + QStringLiteral("unknown section [%1]").arg(section);
            if (seenSections.contains(folded))
                problems << where + QStringLiteral("section [%1] repeated").arg(section);
            seenSections.insert(folded);
            continue;
        }
        const qsizetype eq = line.indexOf(u'=');
        if (eq <= 0) {
            problems << where + QStringLiteral("neither a section nor key=value");
            continue;
        }
        if (section.isEmpty()) {
            problems << where + QStringLiteral("key before the first section");
            continue;
        }
        const QString id = section + u'/' + line.left(eq).trimmed();
        if (!expected.contains(id))
            problems << where + QStringLiteral("unexpected key %1").arg(id);
        if (seenKeys.contains(id.toLower()))
            problems << where + QStringLiteral("key %1 repeated").arg(id);
        seenKeys.insert(id.toLower());
    }
    for (const QString &id : expected) {
        if (!seenKeys.contains(id.toLower()))
            problems << QStringLiteral("missing key %1").arg(id);
    }
    QVERIFY2(problems.isEmpty(), qPrintable(problems.join(u'\n')));
}

void tst_LanguageFiles::everyKeyHasText_data()
{
    addFileRows();
}

// A missing key shows "0" on screen; so does a value of "0".
void tst_LanguageFiles::everyKeyHasText()
{
    QFETCH(QString, file);
    const vidmo::IniFile ini(filePath(file));
    QStringList problems;
    for (const KeyRow &row : kKeys) {
        const QString value = ini.readString(QString::fromUtf8(row.section),
                                             QString::fromUtf8(row.key), QStringLiteral("0"));
        if (value.isEmpty() || value == u"0")
            problems << QStringLiteral("%1/%2 reads \"%3\"").arg(row.section, row.key, value);
    }
    QVERIFY2(problems.isEmpty(), qPrintable(problems.join(u'\n')));
}

void tst_LanguageFiles::languageCaptionsUntranslated_data()
{
    addFileRows();
}

// "Применить" stores the caption on the ticked button and start-up recognises
// only these captions, so every file must leave them as they are.
void tst_LanguageFiles::languageCaptionsUntranslated()
{
    QFETCH(QString, file);
    const vidmo::IniFile ini(filePath(file));
    for (const char *key : kLanguageKeys) {
        QCOMPARE(ini.readString(QStringLiteral("Settings"), QString::fromUtf8(key),
                                QStringLiteral("0")),
                 designText("Settings", key));
    }
}

void tst_LanguageFiles::categoryCaptionsDistinct_data()
{
    addFileRows();
}

// Category buttons are told apart only by their captions.
void tst_LanguageFiles::categoryCaptionsDistinct()
{
    QFETCH(QString, file);
    const vidmo::IniFile ini(filePath(file));
    QHash<QString, QString> keyByCaption;
    QStringList clashes;
    for (const KeyRow &row : kKeys) {
        if (qstrcmp(row.section, "Category") != 0)
            continue;
        const QString key = QString::fromUtf8(row.key);
        const QString caption = ini.readString(QStringLiteral("Category"), key, QStringLiteral("0"));
        const auto other = keyByCaption.constFind(caption);
        if (other != keyByCaption.constEnd())
            clashes << QStringLiteral("%1 and %2 both read \"%3\"").arg(*other, key, caption);
        else
            keyByCaption.insert(caption, key);
    }
    QVERIFY2(clashes.isEmpty(), qPrintable(clashes.join(u'\n')));
}

void tst_LanguageFiles::russianMatchesDesignTexts_data()
{
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("expected");
    for (const KeyRow &row : kKeys) {
        if (*row.designText == '\0')
            continue;
        QTest::addRow("%s/%s", row.section, row.key)
            << QString::fromUtf8(row.section) << QString::fromUtf8(row.key)
            << QString::fromUtf8(row.designText);
    }
}

// Catches look-alike Latin letters and lost trailing blanks in the Russian texts.
void tst_LanguageFiles::russianMatchesDesignTexts()
{
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QString, expected);
    const vidmo::IniFile ini(filePath(QStringLiteral("Russian.lng")));
    QCOMPARE(ini.readString(section, key, QStringLiteral("0")), expected);
}

QTEST_GUILESS_MAIN(tst_LanguageFiles)
#include "tst_languagefiles.moc"
