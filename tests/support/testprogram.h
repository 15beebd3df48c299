#pragma once

// A program directory of its own and the whole program block on test doubles.

#include "app/programblock.h"
#include "fakeaudio.h"
#include "fakes.h"

#include <QTemporaryDir>

#include <memory>

namespace vidmo {
class TForm1;
class TSettingForm;
} // namespace vidmo

namespace vidmo::test {

class TestProgram
{
public:
    TestProgram();
    ~TestProgram();

    const QString &programDir() const { return m_programDir; }
    QString settingsPath() const { return m_programDir + QStringLiteral("Setting.ini"); }

    // Setting.ini with this content (UTF-8).
    void writeSettings(const QByteArray &content);
    QByteArray readSettings() const;
    // Language/<name> with this content, or the shipped files.
    void writeLanguageFile(const QString &name, const QByteArray &content);
    void installShippedLanguageFiles();

    // Runs the program block's window creation (nothing is shown).
    ProgramBlock &start();
    AppContext &ctx() { return m_block->context(); }
    TForm1 *form1() { return ctx().windows.Form1; }
    TSettingForm *settings() { return ctx().windows.SettingForm; }
    // Destroys the windows, as at the end of the program.
    void stop() { m_block.reset(); }

    FakeMessageBox messageBox;
    FakeShell shell;
    FakeWebViewFactory webViews;
    FakeHttpClient http;
    FakeAudioEngine audio;
    // When set before start(), used instead of the fake client and serverBase().
    IHttpClient *realHttp = nullptr;
    QString realServerBase;
    // When set before start(), used instead of the fake engine.
    IAudioEngine *realAudio = nullptr;

    static QString serverBase() { return QStringLiteral("http://127.0.0.1:9"); }

private:
    QTemporaryDir m_dir;
    QString m_programDir;
    std::unique_ptr<ProgramBlock> m_block;
};

} // namespace vidmo::test
