#pragma once
// Windows that open beside the race screen without blocking it (Hits,
// Rejected Passes, Send Command) are one of each kind at a time: their menu
// command brings the open one to the front instead of opening another.

#include <QList>
#include <QWidget>

namespace kesto {

// The open window of type W among the direct children of `parent`, shown
// normal, raised and activated; nullptr when none is open. A closed window
// waits for its deletion hidden, so it does not count.
template <class W> W* BringOpenWindowToFront(QWidget* parent) {
    if (!parent)
        return nullptr;
    for (W* window : parent->findChildren<W*>(Qt::FindDirectChildrenOnly)) {
        if (!window->isVisible())
            continue;
        if (window->isMinimized())
            window->showNormal();
        window->raise();
        window->activateWindow();
        return window;
    }
    return nullptr;
}

} // namespace kesto
