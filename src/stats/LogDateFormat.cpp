#include "stats/LogDateFormat.h"

#include <QDateTime>
#include <QRegularExpression>

#include <algorithm>
#include <cmath>

namespace {

// Removes every run of the letter from a pattern, with the separators that
// joined it to its neighbour, leaving quoted literals alone.
QString dropField(const QString& pattern, QChar letter)
{
    QString out;
    bool quoted = false;
    for (qsizetype i = 0; i < pattern.size(); ++i) {
        const QChar c = pattern[i];
        if (c == QLatin1Char('\''))
            quoted = !quoted;
        if (!quoted && c == letter) {
            while (i + 1 < pattern.size() && pattern[i + 1] == letter)
                ++i;
            // The separator after it ("dddd, "), or before it at the end (" t").
            qsizetype j = i + 1;
            while (j < pattern.size() && !pattern[j].isLetter() && pattern[j] != QLatin1Char('\''))
                ++j;
            if (j < pattern.size()) {
                i = j - 1;
            } else {
                while (!out.isEmpty() && !out.back().isLetter() && out.back() != QLatin1Char('\''))
                    out.chop(1);
                i = j;
            }
            continue;
        }
        out += c;
    }
    return out.trimmed();
}

} // namespace

LogDateFormat::LogDateFormat(const QLocale& locale) : m_locale(locale)
{
    // "dddd" is the weekday in Qt's patterns, "d" the day: drop only runs of
    // four or more d.
    QString date = locale.dateFormat(QLocale::LongFormat);
    date.replace(QRegularExpression(QStringLiteral("d{4,}[^\\w']*")), QString());
    date.replace(QRegularExpression(QStringLiteral("M{4,}")), QStringLiteral("MMM"));
    date.replace(QRegularExpression(QStringLiteral("(?<!y)yy(?!y)")), QStringLiteral("yyyy"));
    m_date = date.trimmed();
    m_time = dropField(locale.timeFormat(QLocale::LongFormat), QLatin1Char('t'));
}

QString LogDateFormat::format(double seconds) const
{
    // A stamp beyond any calendar (garbage in a syslog file) is clamped,
    // not converted with an overflow.
    if (!std::isfinite(seconds))
        seconds = 0;
    seconds = std::clamp(seconds, -1e13, 1e13);
    const QDateTime when = QDateTime::fromMSecsSinceEpoch(static_cast<qint64>(seconds * 1000));
    return m_locale.toString(when, m_date + QLatin1Char(' ') + m_time);
}
