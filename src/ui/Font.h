#pragma once

#include <QFont>

namespace ui {

// Font sizes in the screens are points of the handheld platform, where one
// point is one logical pixel: use pixel sizes so 17 points is 17 logical
// pixels whatever the screen's DPI says.
class Font {
public:
    static QFont systemFont(double points);
    static QFont boldSystemFont(double points);
};

} // namespace ui
