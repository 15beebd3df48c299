#pragma once

#include "app/appcontext.h"

#include <QVector>

#include <memory>
#include <vector>

class QWidget;

namespace vidmo {

class SkinEngine;

// The program block: creates every window once, in the fixed order (later
// windows read what earlier ones set up), and destroys them in reverse.
class ProgramBlock final
{
public:
    explicit ProgramBlock(Services services);
    ~ProgramBlock();

    ProgramBlock(const ProgramBlock &) = delete;
    ProgramBlock &operator=(const ProgramBlock &) = delete;

    AppContext &context() { return m_ctx; }

    void createWindows();
    // Centres the main window on the screen and shows it.
    void showMainWindow();

    QVector<QWidget *> windowsInCreationOrder() const;

private:
    AppContext m_ctx;
    std::unique_ptr<SkinEngine> m_skins;
    std::vector<std::unique_ptr<QWidget>> m_windows;
};

} // namespace vidmo
