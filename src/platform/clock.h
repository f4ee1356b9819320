#pragma once

#include <QDateTime>

// "Now" for the whole program; tests fix it to make dates repeatable.

QDateTime CurrentDateTime();
QDate CurrentDate();
// An invalid value returns to the machine clock. Returns the moment it
// replaces (invalid when the machine clock ran).
QDateTime SetFixedDateTime(const QDateTime& moment);
