#include "radio/radiopanel.h"

#include "app/appcontext.h"
#include "app/platform.h"
#include "app/tform1.h"
#include "radio/audioengine.h"
#include "radio/recordingcommand.h"
#include "radio/tmyradioform.h"
#include "radio/tradioform.h"
#include "radio/tradiosaveform.h"

#include <QFrame>
#include <QLineEdit>
#include <QScrollBar>
#include <QToolButton>

namespace vidmo {

RadioPanel::RadioPanel(AppContext &ctx) : m_ctx(ctx) {}

TForm1 &RadioPanel::form() const
{
    return *m_ctx.windows.Form1;
}

IAudioEngine &RadioPanel::audio() const
{
    return *m_ctx.services.audio;
}

QString RadioPanel::nothingPlaysText()
{
    return QStringLiteral("Запись невозможна: сейчас не играет ни одна радиостанция.");
}

QString RadioPanel::encoderFailedText()
{
    return QStringLiteral("Не удалось запустить кодировщик lame, запись не начата.");
}

QString RadioPanel::wmaPluginFailedText()
{
    return QStringLiteral("Ошибка загрузки библиотеки basswma.dll");
}

void RadioPanel::initEngine(quintptr window)
{
    audio().BASS_Init(-1, 44100, bass::DEVICE_SPEAKERS, window, nullptr);
    // Relative to the current directory, as the plug-in always was.
    if (audio().BASS_PluginLoad(QStringLiteral(".\\basswma.dll"), bass::UNICODE_FLAG) == 0)
        m_ctx.services.messageBox->show(wmaPluginFailedText());
}

void RadioPanel::releaseEngine()
{
    audio().BASS_Free();
    m_held = false;
    m_recording = false;
}

void RadioPanel::freeStream()
{
    // The handle stays in RadioStream; the engine refuses it from now on.
    audio().BASS_StreamFree(form().RadioStream);
    m_held = false;
    m_recording = false; // the encoder goes with its stream
}

void RadioPanel::StartRadioStream(const QByteArray &url)
{
    TForm1 &f = form();
    freeStream();
    audio().BASS_SetConfig(bass::CONFIG_NET_PLAYLIST, 1);
    f.RadioStream = audio().BASS_StreamCreateURL(url, 0, bass::STREAM_STATUS, nullptr, nullptr);
    m_held = f.RadioStream != 0;
    audio().BASS_ChannelPlay(f.RadioStream, false);
}

void RadioPanel::Button1Click()
{
    StartRadioStream(form().MyRadioUrl.toLocal8Bit());
}

void RadioPanel::sScrollBar1Change()
{
    const QScrollBar *bar = form().sScrollBar1;
    const float volume = float(double(bar->value()) / double(bar->maximum()));
    audio().BASS_ChannelSetAttribute(form().RadioStream, bass::ATTRIB_VOL, volume);
}

void RadioPanel::showRecordButton(bool record)
{
    form().sSpeedButton(10)->setVisible(record);
    form().sSpeedButton(11)->setVisible(!record);
}

void RadioPanel::sSpeedButton10Click()
{
    // An encoder on no stream would write nothing while the buttons claimed a
    // recording; say so instead.
    if (!m_held) {
        m_ctx.services.messageBox->show(nothingPlaysText());
        return;
    }
    showRecordButton(false);
    if (m_ctx.windows.RadioSaveForm->exec() != QDialog::Accepted) {
        showRecordButton(true);
        return;
    }
    const QString command =
        recordingCommandLine(form().sEdit1->text(), m_ctx.services.programDir);
    const HENCODE encoder = audio().BASS_Encode_Start(
        form().RadioStream, command, bass::UNICODE_FLAG | bass::ENCODE_AUTOFREE, nullptr, nullptr);
    if (encoder == 0) {
        showRecordButton(true);
        m_ctx.services.messageBox->show(encoderFailedText());
        return;
    }
    m_recording = true;
}

void RadioPanel::sSpeedButton11Click()
{
    showRecordButton(true);
    audio().BASS_Encode_Stop(form().RadioStream);
    m_recording = false;
}

void RadioPanel::sSpeedButton12Click()
{
    freeStream();
}

void RadioPanel::sSpeedButton13Click()
{
    m_ctx.windows.RadioForm->show();
    form().hide();
}

void RadioPanel::sSpeedButton14Click()
{
    TMyRadioForm *own = m_ctx.windows.MyRadioForm;
    own->show(); // modal: the window says so itself
    own->activateWindow();
}

void RadioPanel::radioPageShown()
{
    // The same button leads to a foreign page on the other row, which leaves the panel be.
    if (m_recording && !form().sPanel2->isHidden())
        showRecordButton(false);
}

} // namespace vidmo
