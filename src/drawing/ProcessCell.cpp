#include "drawing/ProcessCell.h"

ProcessCell::ProcessCell(const QString& reuseIdentifier, QWidget* parent)
    : ListCell(reuseIdentifier, parent)
{
}

std::vector<ListCell::Item> ProcessCell::items(bool large) const
{
    const auto label = [](double x, double y, const char* text) {
        return Item{x, y, QString::fromLatin1(text), Style::Label};
    };
    const auto value = [](double x, double y, const QString& text) {
        return Item{x, y, text, Style::Value};
    };
    if (!large)
        return {Item{10, 5, m_name, Style::BoldValue},
                label(175, 8, "Runtime:"),
                value(222, 8, m_runtime),
                label(10, 29, "PID:"),
                value(35, 29, m_pid),
                label(85, 29, "PPID:"),
                value(117, 29, m_ppid),
                label(175, 29, "Priority:"),
                value(222, 29, m_prio)};
    return {Item{20, 16, m_name, Style::BoldValue},
            label(230, 7, "Runtime:"),
            value(289, 7, m_runtime),
            label(230, 32, "PID:"),
            value(263, 32, m_pid),
            label(360, 32, "PPID:"),
            value(401, 32, m_ppid),
            label(490, 7, "Priority:"),
            value(541, 7, m_prio),
            label(490, 32, "PGID:"),
            value(533, 32, m_pgid),
            label(620, 32, "UID:"),
            value(653, 32, m_uid)};
}
