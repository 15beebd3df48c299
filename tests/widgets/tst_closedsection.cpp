// The closed section: the heart button, the password dialog with the live
// password and switch of the settings window, and the two sub-pages.
#include "app/skinbutton.h"
#include "app/tform1.h"
#include "navigation/tform2.h"
#include "settings/tsettingform.h"
#include "testprogram.h"

#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QToolButton>

using namespace vidmo;
using namespace Qt::StringLiterals;
using vidmo::test::TestProgram;

namespace {

struct Program
{
    explicit Program(const QByteArray &language = {})
    {
        if (language.isEmpty())
            p.installShippedLanguageFiles();
        else
            p.writeLanguageFile(u"Russian.lng"_s, language);
        p.start();
        f = p.form1();
        f->show();
        dialog = p.ctx().windows.Form2;
    }

    void setLive(bool asked, const QString &password)
    {
        p.settings()->sCheckBox2->setChecked(asked);
        p.settings()->sEdit1->setText(password);
    }
    void heart() { f->sSpeedButton(4)->click(); }
    void enter(const QString &typed)
    {
        dialog->sEdit1->setText(typed);
        QTest::keyClick(dialog->sEdit1, Qt::Key_Return); // the default button
    }
    bool shown(int n) const { return f->sBitBtn(n)->isVisibleTo(f); }
    QString caption(int n) const { return f->sBitBtn(n)->text(); }
    // The erotica sub-page under the two sub-category buttons.
    bool eroticaOpen() const
    {
        return caption(10) == u"Эротика"_s && caption(11) == u"Порно"_s && shown(10) && shown(11)
               && !shown(12) && caption(13) == u"День студента"_s && shown(27) && !shown(28)
               && !shown(42);
    }

    TestProgram p;
    TForm1 *f = nullptr;
    TForm2 *dialog = nullptr;
};

} // namespace

class TestClosedSection : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void password_data();
    void password();
    void dialogKeepsTypedText();
    void subPages();
    void bothKeysMissing();
    void fromOtherPages_data();
    void fromOtherPages();
};

void TestClosedSection::password_data()
{
    QTest::addColumn<bool>("asked");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("opened");

    QTest::newRow("switched off") << false << u"580"_s << QString() << true;
    QTest::newRow("right password") << true << u"580"_s << u"580"_s << true;
    QTest::newRow("wrong password") << true << u"580"_s << u"581"_s << false;
    QTest::newRow("case counts") << true << u"Secret"_s << u"secret"_s << false;
    QTest::newRow("blank counts") << true << u"580"_s << u"580 "_s << false;
    QTest::newRow("empty stored, empty typed") << true << QString() << QString() << true;
    QTest::newRow("empty stored, typed") << true << QString() << u"580"_s << false;
}

void TestClosedSection::password()
{
    QFETCH(bool, asked);
    QFETCH(QString, stored);
    QFETCH(QString, typed);
    QFETCH(bool, opened);

    Program g;
    g.setLive(asked, stored); // changed after start, not saved: counts at once
    g.heart();
    QCOMPARE(g.dialog->isVisible(), asked);
    QVERIFY(!g.dialog->isModal());
    if (asked) {
        QVERIFY(!g.eroticaOpen());
        g.enter(typed);
    }
    QCOMPARE(g.eroticaOpen(), opened);
    QCOMPARE(g.dialog->isVisible(), asked && !opened);
    QCOMPARE(g.p.messageBox.shown,
             opened ? QStringList() : QStringList{u"Неверный пароль."_s});
    QCOMPARE(g.f->StartTVButton->text(), opened ? u"Эротика"_s : u"Запуск ТВ каналов"_s);
}

void TestClosedSection::dialogKeepsTypedText()
{
    Program g;
    g.setLive(true, u"580"_s);
    QCOMPARE(g.dialog->sLabel1->text(), u"Для перехода в этот раздел необходимо ввести пароль"_s);
    g.heart();
    g.enter(u"1"_s);
    g.enter(u"2"_s); // no limit on attempts
    QCOMPARE(g.p.messageBox.shown.size(), 2);
    g.enter(u"580"_s);
    QVERIFY(g.dialog->isHidden());
    g.f->sBitBtn(1)->click(); // leaves the section
    QVERIFY(!g.eroticaOpen());
    g.heart();
    QVERIFY(g.dialog->isVisible());
    QCOMPARE(g.dialog->sEdit1->text(), u"580"_s);
    QCOMPARE(g.dialog->sEdit1->echoMode(), QLineEdit::Password);
}

void TestClosedSection::subPages()
{
    Program g;
    g.setLive(false, QString());
    g.heart();
    QVERIFY(g.eroticaOpen());
    g.f->sBitBtn(11)->click();
    QCOMPARE(g.caption(10), u"Эротика"_s);
    QCOMPARE(g.caption(11), u"Порно"_s);
    QCOMPARE(g.caption(13), u"Porn-TV Teen"_s);
    QCOMPARE(g.caption(32), u"Porn-TV Shaved"_s);
    for (int n = 13; n <= 32; ++n)
        QVERIFY(g.shown(n));
    for (int n = 33; n <= 42; ++n)
        QVERIFY(!g.shown(n));
    g.f->sBitBtn(10)->click();
    QVERIFY(g.eroticaOpen());
    QCOMPARE(g.caption(27), u"Spice TV "_s);
    g.f->sBitBtn(6)->click(); // any category leaves the section
    QCOMPARE(g.caption(10), u"Россия 2"_s);
}

void TestClosedSection::bothKeysMissing()
{
    QFile shipped(QStringLiteral(VIDMO_SOURCE_DIR "/data/Language/Russian.lng"));
    QVERIFY(shipped.open(QIODevice::ReadOnly));
    QByteArray language = shipped.readAll();
    language.replace(u"erotica=Эротика\n"_s.toUtf8(), "").replace(u"Porn=Порно\n"_s.toUtf8(), "");

    Program g(language);
    g.setLive(false, QString());
    g.heart();
    // Both captions read "0", both tests pass: the Porn page comes last.
    QCOMPARE(g.caption(10), u"0"_s);
    QCOMPARE(g.caption(11), u"0"_s);
    QCOMPARE(g.caption(13), u"Porn-TV Teen"_s);
    QVERIFY(g.shown(32));
    QVERIFY(!g.shown(33));
}

void TestClosedSection::fromOtherPages_data()
{
    QTest::addColumn<QList<int>>("clicks");
    QTest::addColumn<bool>("panel");
    QTest::newRow("radio page") << QList<int>{2} << true;
    QTest::newRow("CISa page") << QList<int>{44, 2} << false;
    QTest::newRow("CISb page") << QList<int>{44, 3} << false;
}

void TestClosedSection::fromOtherPages()
{
    QFETCH(QList<int>, clicks);
    QFETCH(bool, panel);
    Program g;
    g.setLive(false, QString());
    for (int n : clicks)
        g.f->sBitBtn(n)->click();
    g.heart();
    // The section shows its first button even where the page had hidden it.
    QVERIFY(g.eroticaOpen());
    QCOMPARE(g.f->sPanel2->isVisibleTo(g.f), panel);
    QVERIFY(!g.f->sLabel1->isVisibleTo(g.f));
}

QTEST_MAIN(TestClosedSection)
#include "tst_closedsection.moc"
