#pragma once

namespace vidmo {

struct AppContext;

// Puts the language file's texts on the main window and the settings window,
// in their fixed order. A missing text reads "0".
void applyInterfaceTexts(AppContext &ctx);

} // namespace vidmo
