#include "screens/memory/MemoryFormat.h"

float MemoryFormat::Figures::share(Kind kind) const
{
    // A total that could not be read gives 0.0 %, not "nan" or "inf".
    if (!(total > 0))
        return 0;
    return value[kind] / total * 100.0f;
}

MemoryFormat::Figures MemoryFormat::figures(float total, float active, float inactive, float wired,
                                            float free)
{
    Figures f;
    f.total = total;
    f.value[Wired] = wired;
    f.value[Active] = active;
    f.value[Inactive] = inactive;
    f.value[Free] = free;
    f.value[Other] = total - (((active + inactive) + wired) + free);
    return f;
}

float MemoryFormat::megabytes(uint64_t pages, uint64_t pageSize)
{
    return static_cast<float>(static_cast<double>(pages) / 1048576.0 *
                              static_cast<double>(static_cast<float>(pageSize)));
}

QString MemoryFormat::megabytesText(float mb)
{
    return QString::asprintf("%.1f MB", static_cast<double>(mb));
}

QString MemoryFormat::shareText(float percent)
{
    return QString::asprintf("%.1f %%", static_cast<double>(percent));
}

QString MemoryFormat::totalText(std::optional<uint64_t> physmem)
{
    if (!physmem)
        return QStringLiteral("N/A");
    return QString::asprintf("%.1f MB", static_cast<double>(*physmem) / 1048576.0);
}

QString MemoryFormat::pageSizeText(uint64_t pageSize)
{
    return QStringLiteral("%1 KB").arg(pageSize >> 10);
}

QString MemoryFormat::counterText(std::optional<uint64_t> counter)
{
    return counter ? QString::number(*counter) : QStringLiteral("N/A");
}
