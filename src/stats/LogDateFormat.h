#pragma once

#include <QLocale>
#include <QString>

// The "medium" date and time style: the locale's date with an abbreviated
// month and a four-digit year ("6 Dec 2026", "Dec 6, 2026"), and its time
// with seconds but no zone. Qt has only short and long styles: the long
// ones, without the weekday and the zone, with the month abbreviated.
class LogDateFormat {
public:
    explicit LogDateFormat(const QLocale& locale = QLocale::system());

    // seconds since 1970, in the local time zone.
    QString format(double seconds) const;

    QString datePattern() const { return m_date; }
    QString timePattern() const { return m_time; }

private:
    QLocale m_locale;
    QString m_date;
    QString m_time;
};
