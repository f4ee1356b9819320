#pragma once

#include <QString>

// The program writes its statements once, in the form the original engine
// took. This rewrites, outside quoted text, what the given Qt SQL driver
// lacks: SUBSTRING(x FROM a FOR b), EXTRACT(YEAR|MONTH|DAY FROM x) and the
// program's date literals DATE 'MM/DD/YYYY' (SQLite keeps dates as
// 'YYYY-MM-DD' text). Quoted text without DATE in front is never changed.
QString TranslateSql(const QString& sql, const QString& driver);
