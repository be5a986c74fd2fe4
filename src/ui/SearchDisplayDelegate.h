#pragma once

#include <QString>

namespace ui {

class SearchDisplayController;

// What a search display asks of the screen that owns it.
class SearchDisplayDelegate {
public:
    virtual ~SearchDisplayDelegate() = default;
    // The search text changed; answer true to have the results table reload.
    virtual bool shouldReloadTableForSearchString(SearchDisplayController*, const QString&)
    {
        return true;
    }
};

} // namespace ui
