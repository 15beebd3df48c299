#pragma once

#include "app/appcontext.h"
#include "app/tform1.h"
#include "app/windowutil.h"

#include <QShowEvent>

namespace vidmo {

// A window other than the main one: created once at start, hidden, centred on
// the main window whenever it is shown; closing it only hides it.
template <typename Base>
class SecondaryWindow : public Base
{
public:
    explicit SecondaryWindow(AppContext &ctx) : Base(nullptr), m_ctx(ctx) {}

protected:
    void showEvent(QShowEvent *event) override
    {
        if (!event->spontaneous())
            centreOn(this, m_ctx.windows.Form1);
        Base::showEvent(event);
    }

    AppContext &m_ctx;
};

} // namespace vidmo
