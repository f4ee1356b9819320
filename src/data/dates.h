#pragma once

#include <QDate>
#include <QString>

// Reads a date as an operator types it: 2024-03-05, 2024/3/5, 2024.3.5,
// 20240305; a two-digit year falls in the hundred years that begin 70 years
// before today. Invalid when it is no date.
QDate ParseUserDate(const QString& text);
// "YYYY-MM-DD".
QString DateText(const QDate& date);
