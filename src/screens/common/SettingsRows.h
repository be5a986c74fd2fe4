#pragma once

namespace ui {
class TableView;
class TableViewCell;
} // namespace ui

// Habits shared by the Work Time page and the alarm settings.
class SettingsRows {
public:
    // Title and detail text at the row size of the screen class (14, 17 on
    // large screens); the title keeps its weight.
    static void applyRowFonts(ui::TableViewCell* cell);
    // Drops the chosen row before a reload, as the platform's reload does:
    // these pages show a choice by a mark or a pushed page, not a highlight.
    static void clearSelection(ui::TableView* table);
};
