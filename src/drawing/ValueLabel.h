#pragma once

class CopyableLabel;
namespace ui {
class TableViewCell;
}

// How the screens set up the copyable value label of a row, so every value
// looks and behaves the same and is found again when the cell is reused.
class ValueLabel {
public:
    // Tags by kind of row.
    static constexpr int kTagDetails = 4;
    static constexpr int kTagExternalAddress = 13;
    static constexpr int kTagOverview = 14;
    static constexpr int kTagAbout = 1;

    // Clear background, value colour, right-aligned, taps enabled, tagged,
    // and placed in the cell's content view; the cell stops showing
    // selection.
    static void configure(CopyableLabel* label, ui::TableViewCell* cell, int tag);

    // Ordinary value rows: the label and the cell's text label share the
    // text label's font at the row size of the screen class.
    static void applyRowFont(CopyableLabel* label, ui::TableViewCell* cell);
    static int rowFontSize();
};
