#pragma once

#include "app/failure.h"
#include "app/platform.h"

#include <exception>

namespace vidmo {

// The application's default error box: an error raised inside a handler ends
// that handler, its text is shown, and the program goes on.
template <typename Handler>
void guard(IMessageBox &box, Handler &&handler)
{
    try {
        handler();
    } catch (const Failure &e) {
        box.show(e.text());
    } catch (const std::exception &e) {
        box.show(QString::fromUtf8(e.what()));
    }
}

} // namespace vidmo
