#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>

namespace vidmo {

struct AppContext;
class IAudioEngine;
class TForm1;

// Playback, volume, turn-off and recording behind the main window's radio
// panel. The stream's handle lives in TForm1::RadioStream; this keeps what the
// controls cannot show: whether that handle is still held, and whether an
// encoder runs on it.
class RadioPanel final
{
public:
    explicit RadioPanel(AppContext &ctx);

    // The audio steps of the main window's creation and destruction.
    void initEngine(quintptr window);
    void releaseEngine();

    // Frees the current stream, then opens and plays url.
    void StartRadioStream(const QByteArray &url);
    void Button1Click();
    void sScrollBar1Change();
    void sSpeedButton10Click(); // record
    void sSpeedButton11Click(); // stop recording
    void sSpeedButton12Click(); // turn off
    void sSpeedButton13Click(); // mini radio
    void sSpeedButton14Click(); // own stations

    // The Radio page was shown: a running recording keeps its stop button, so
    // no second encoder is started on the same stream.
    void radioPageShown();

    bool streamHeld() const { return m_held; }
    bool recording() const { return m_recording; }

    static QString nothingPlaysText();
    static QString encoderFailedText();
    static QString wmaPluginFailedText();

private:
    TForm1 &form() const;
    IAudioEngine &audio() const;
    void showRecordButton(bool record);
    void freeStream();

    AppContext &m_ctx;
    bool m_held = false;
    bool m_recording = false;
};

} // namespace vidmo
