#pragma once

#include <QDateTime>

// "Now" for the whole program; tests fix it to make dates repeatable.

QDateTime CurrentDateTime();
QDate CurrentDate();
// An invalid value returns to the machine clock.
void SetFixedDateTime(const QDateTime& moment);
