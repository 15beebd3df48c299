#include "app/programblock.h"

#include "app/skinengine.h"
#include "app/tform1.h"
#include "app/windowutil.h"
#include "favorites/tfavoriteform.h"
#include "navigation/tform2.h"
#include "radio/tmyradioform.h"
#include "radio/tradioform.h"
#include "radio/tradiosaveform.h"
#include "settings/tsettingform.h"
#include "web/tbrowser2form.h"
#include "web/tdonationform.h"
#include "web/tkorbinaform.h"
#include "web/tnarkomtvform.h"
#include "web/tovegoplayerform.h"
#include "web/ttvprogrammform.h"

namespace vidmo {

ProgramBlock::ProgramBlock(Services services) : m_skins(std::make_unique<SkinEngine>())
{
    m_ctx.services = std::move(services);
    m_ctx.skins = m_skins.get();
}

ProgramBlock::~ProgramBlock()
{
    while (!m_windows.empty())
        m_windows.pop_back();
    m_ctx.windows = Windows{};
}

void ProgramBlock::createWindows()
{
    Windows &w = m_ctx.windows;
    auto add = [this](auto *window) {
        m_windows.emplace_back(window);
        return window;
    };
    w.Form1 = add(new TForm1(m_ctx));
    w.SettingForm = add(new TSettingForm(m_ctx));
    w.DonationForm = add(new TDonationForm(m_ctx));
    w.FavoriteForm = add(new TFavoriteForm(m_ctx));
    w.TVprogrammForm = add(new TTVprogrammForm(m_ctx));
    w.Form2 = add(new TForm2(m_ctx));
    w.Browser2Form = add(new TBrowser2Form(m_ctx));
    w.KorbinaForm = add(new TKorbinaForm(m_ctx));
    w.RadioSaveForm = add(new TRadioSaveForm(m_ctx));
    w.RadioForm = add(new TRadioForm(m_ctx));
    w.MyRadioForm = add(new TMyRadioForm(m_ctx));
    w.OvegoPlayerForm = add(new TOvegoPlayerForm(m_ctx));
    w.NarkomTVForm = add(new TNarkomTVForm(m_ctx));
}

void ProgramBlock::showMainWindow()
{
    TForm1 *main = m_ctx.windows.Form1;
    centreOn(main, nullptr);
    main->show();
}

QVector<QWidget *> ProgramBlock::windowsInCreationOrder() const
{
    QVector<QWidget *> list;
    for (const auto &w : m_windows)
        list << w.get();
    return list;
}

} // namespace vidmo
