#include "platform/clock.h"

#include <utility>

namespace {
QDateTime g_fixed;
}

QDateTime CurrentDateTime()
{
    return g_fixed.isValid() ? g_fixed : QDateTime::currentDateTime();
}

QDate CurrentDate()
{
    return CurrentDateTime().date();
}

QDateTime SetFixedDateTime(const QDateTime& moment)
{
    return std::exchange(g_fixed, moment);
}
