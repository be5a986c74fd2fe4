#include "drawing/RouteCell.h"

RouteCell::RouteCell(const QString& reuseIdentifier, QWidget* parent)
    : ListCell(reuseIdentifier, parent)
{
}

std::vector<ListCell::Item> RouteCell::items(bool large) const
{
    const auto label = [](double x, double y, const char* text) {
        return Item{x, y, QString::fromLatin1(text), Style::Label};
    };
    const auto value = [](double x, double y, const QString& text) {
        return Item{x, y, text, Style::Value};
    };
    if (!large)
        return {label(10, 8, "Destination:"), value(72, 8, m_destination),
                label(10, 29, "Gateway:"),    value(72, 29, m_gateway),
                label(235, 8, "Netif:"),      value(269, 8, m_interface),
                label(235, 29, "Flags:"),     value(269, 29, m_flags)};
    return {label(20, 7, "Destination:"), value(95, 7, m_destination), label(20, 32, "Gateway:"),
            value(95, 32, m_gateway),     label(360, 7, "Netif:"),     value(401, 7, m_interface),
            label(360, 32, "Flags:"),     value(401, 32, m_flags),     label(490, 7, "Refs:"),
            value(526, 7, m_refs),        label(490, 32, "Use:"),      value(526, 32, m_use),
            label(620, 7, "Mtu:"),        value(667, 7, m_mtu),        label(620, 32, "Expire:"),
            value(667, 32, m_expire)};
}
