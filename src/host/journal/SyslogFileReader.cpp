#include "host/journal/SyslogFileReader.h"

#include <QDateTime>
#include <QFile>
#include <QRegularExpression>
#include <QTimeZone>

#include <algorithm>

namespace {

QString timeText(const QDateTime& when)
{
    const qint64 ms = when.toMSecsSinceEpoch();
    return QString::asprintf("%lld.%03lld", ms / 1000, ms % 1000);
}

// "tag[pid]: text" or "tag: text" after the host name.
void splitTag(QStringView rest, LogRecord& record)
{
    static const QRegularExpression kTag(
        QStringLiteral("^([^\\s\\[:]+)(?:\\[(\\d+)\\])?:\\s?(.*)$"),
        QRegularExpression::DotMatchesEverythingOption);
    const QRegularExpressionMatch m = kTag.match(rest);
    if (!m.hasMatch()) {
        record.insert(QStringLiteral("Message"), rest.toString());
        return;
    }
    record.insert(QStringLiteral("Sender"), m.captured(1));
    if (m.hasCaptured(2))
        record.insert(QStringLiteral("PID"), m.captured(2));
    record.insert(QStringLiteral("Message"), m.captured(3));
}

std::optional<LogRecord> parseIso(QStringView line)
{
    // Optional "<pri>1 " header of RFC 5424, then the stamp and the host.
    static const QRegularExpression kIso(
        QStringLiteral("^(?:<(\\d{1,3})>1 )?(\\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\d(?:\\.\\d+)?"
                       "(?:Z|[+-]\\d\\d:\\d\\d)) (\\S+) (.*)$"),
        QRegularExpression::DotMatchesEverythingOption);
    const QRegularExpressionMatch m = kIso.match(line);
    if (!m.hasMatch())
        return std::nullopt;
    const QDateTime when = QDateTime::fromString(m.captured(2), Qt::ISODateWithMs);
    if (!when.isValid())
        return std::nullopt;
    LogRecord record;
    record.insert(QStringLiteral("Time"), timeText(when));
    if (m.hasCaptured(1))
        record.insert(QStringLiteral("Level"), QString::number(m.captured(1).toInt() & 7));
    QStringView rest = m.capturedView(4);
    if (m.hasCaptured(1)) {
        // RFC 5424 proper: APP-NAME PROCID MSGID STRUCTURED-DATA MSG.
        static const QRegularExpression k5424(
            QStringLiteral("^(\\S+) (\\S+) (\\S+) (-|\\[.*?\\])(?: (.*))?$"),
            QRegularExpression::DotMatchesEverythingOption);
        const QRegularExpressionMatch p = k5424.match(rest);
        if (p.hasMatch()) {
            if (p.captured(1) != QLatin1String("-"))
                record.insert(QStringLiteral("Sender"), p.captured(1));
            if (p.captured(2) != QLatin1String("-"))
                record.insert(QStringLiteral("PID"), p.captured(2));
            record.insert(QStringLiteral("Message"), p.captured(5));
            return record;
        }
    }
    splitTag(rest, record);
    return record;
}

std::optional<LogRecord> parseTraditional(QStringView line, double now)
{
    static const QRegularExpression kTraditional(
        QStringLiteral("^([A-Z][a-z]{2}) +(\\d{1,2}) (\\d\\d):(\\d\\d):(\\d\\d) (\\S+) (.*)$"),
        QRegularExpression::DotMatchesEverythingOption);
    static const char* const kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                          "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    const QRegularExpressionMatch m = kTraditional.match(line);
    if (!m.hasMatch())
        return std::nullopt;
    const auto month = std::find_if(std::begin(kMonths), std::end(kMonths), [&](const char* name) {
        return m.capturedView(1) == QLatin1String(name);
    });
    if (month == std::end(kMonths))
        return std::nullopt;
    const QTime time(m.captured(3).toInt(), m.captured(4).toInt(), m.captured(5).toInt());
    // Local time, as syslog daemons write it; the year is the latest one
    // that does not put the line in the future.
    const int thisYear = QDateTime::fromSecsSinceEpoch(static_cast<qint64>(now)).date().year();
    for (int year = thisYear + 1; year >= thisYear - 1; --year) {
        const QDate date(year, static_cast<int>(month - std::begin(kMonths)) + 1,
                         m.captured(2).toInt());
        const QDateTime when(date, time);
        if (!when.isValid())
            continue;
        if (when.toSecsSinceEpoch() <= now + 86400) {
            LogRecord record;
            record.insert(QStringLiteral("Time"), timeText(when));
            splitTag(m.capturedView(7), record);
            return record;
        }
    }
    return std::nullopt;
}

} // namespace

SyslogFileReader::SyslogFileReader(QString path, Clock now)
    : m_path(std::move(path)), m_now(std::move(now))
{
    if (!m_now)
        m_now = [] { return QDateTime::currentMSecsSinceEpoch() / 1000.0; };
}

std::optional<LogRecord> SyslogFileReader::parseLine(QStringView line, double now)
{
    if (line.isEmpty())
        return std::nullopt;
    if (line.front().isDigit() || line.front() == QLatin1Char('<'))
        return parseIso(line);
    return parseTraditional(line, now);
}

bool SyslogFileReader::isAvailable()
{
    QFile file(m_path);
    return file.open(QIODevice::ReadOnly);
}

std::vector<LogRecord> SyslogFileReader::newest(std::size_t limit, std::stop_token stop)
{
    std::vector<LogRecord> out;
    QFile file(m_path);
    if (limit == 0 || !file.open(QIODevice::ReadOnly))
        return out;
    const double now = m_now();
    constexpr qint64 kBlock = 64 * 1024;
    qint64 end = file.size();
    QByteArray carry; // the start of a line that began in an earlier block
    while (end > 0 && out.size() < limit && !stop.stop_requested()) {
        const qint64 start = std::max<qint64>(0, end - kBlock);
        if (!file.seek(start))
            break;
        QByteArray block = file.read(end - start);
        if (block.size() != end - start)
            break;
        block += carry;
        end = start;
        // Every line after the first newline is whole; at the file's start
        // the first line is whole too.
        qsizetype lineEnd = block.size();
        for (qsizetype i = block.size() - 1; i >= -1 && out.size() < limit; --i) {
            if (i >= 0 && block[i] != '\n')
                continue;
            if (i < 0 && start > 0)
                break;
            const QString line = QString::fromUtf8(block.constData() + i + 1, lineEnd - i - 1);
            lineEnd = i;
            if (auto record = parseLine(line, now))
                out.push_back(std::move(*record));
        }
        carry = block.left(std::max<qsizetype>(lineEnd, 0));
    }
    return out;
}
