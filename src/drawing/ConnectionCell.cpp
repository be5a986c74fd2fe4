#include "drawing/ConnectionCell.h"

ConnectionCell::ConnectionCell(const QString& reuseIdentifier, QWidget* parent)
    : ListCell(reuseIdentifier, parent)
{
}

ListCell::Lamp ConnectionCell::lampForState(const QString& state)
{
    if (state == QLatin1String("ESTABLISHED"))
        return GreenLamp;
    if (state == QLatin1String("CLOSED"))
        return RedLamp;
    if (state == QLatin1String("N/A"))
        return NoLamp;
    return AmberLamp;
}

std::vector<ListCell::Item> ConnectionCell::items(bool large) const
{
    const auto label = [](double x, double y, const char* text) {
        return Item{x, y, QString::fromLatin1(text), Style::Label};
    };
    const auto value = [](double x, double y, const QString& text) {
        return Item{x, y, text, Style::Value};
    };
    const Lamp lamp = lampForState(m_state);
    std::vector<Item> out;
    if (!large) {
        const QString sep = QStringLiteral(" : ");
        out = {label(10, 8, "Local:"), value(55, 8, m_localAddress + sep + m_localPort),
               label(10, 29, "Remote:"), value(55, 29, m_remoteAddress + sep + m_remotePort),
               label(240, 8, "State:")};
        if (lamp == NoLamp) {
            out.push_back(value(274, 8, m_state));
        } else {
            out.push_back(value(240, 29, m_state));
            out.push_back(Item{274, 10, {}, Style::Value, lamp});
        }
        return out;
    }
    out = {label(20, 7, "Local Address:"), value(126, 7, m_localAddress),
           label(20, 32, "Remote Address:"), value(126, 32, m_remoteAddress),
           label(550, 7, "State:")};
    if (lamp == NoLamp) {
        out.push_back(value(591, 7, m_state));
    } else {
        out.push_back(value(605, 7, m_state));
        out.push_back(Item{591, 11, {}, Style::Value, lamp});
    }
    out.insert(out.end(), {label(360, 7, "Local Port:"), value(443, 7, m_localPort),
                           label(360, 32, "Remote Port:"), value(443, 32, m_remotePort)});
    return out;
}
