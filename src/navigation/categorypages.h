#pragma once

#include <QString>
#include <QVector>

#include <array>
#include <optional>

namespace vidmo {

// One page of the channel grid as data: what it does to the grid buttons,
// the country labels and the radio panel. Anything a page does not mention
// keeps its state.
struct CategoryPage
{
    enum class Panel { Keep, Hide, Show };

    // One grid button the page sets: a caption shows it, none hides it.
    struct Cell
    {
        int button = 0;                 // 10..42
        std::optional<QString> caption; // nullopt: hide the button
    };

    QString key;         // the category key under [Category]
    Panel radioPanel = Panel::Keep;
    bool setsLabels = false;
    std::array<std::optional<QString>, 4> labels; // sLabel1..4: caption shown, or hidden
    QString titlePage;   // a path on the project web server, loaded first; empty: none
    // Captions are set without showing their buttons (the caller has shown them).
    bool captionsOnly = false;
    QVector<int> show;   // buttons shown with their caption kept
    QVector<Cell> cells; // in grid order
};

// The pages of the grid, read once from the compiled-in data.
const QVector<CategoryPage> &categoryPages();
// The page of a category key, or nullptr.
const CategoryPage *categoryPage(const QString &key);

} // namespace vidmo
