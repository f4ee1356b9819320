#include "platform/clock.h"

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

void SetFixedDateTime(const QDateTime& moment)
{
    g_fixed = moment;
}
