#pragma once

#include <QString>
#include <QStringList>

// A user's rights on one program of a group; a missing row means none.
struct TRights
{
    bool Add = false;
    bool Edit = false;
    bool Delete = false;
    bool Browse = false;
    bool Print = false;
    bool Verify = false;
    bool Currency = false;
};

// The right columns, indexed 0 to 6 (the delete column is spelled DElETE_RIGHT).
const QStringList& RightColumns();

TRights GetRights(const QString& group, const QString& program, const QString& userId);
// "是" or "否"; "否" when there is no row or no value.
QString ReadRight(const QString& userId, int composeId, int programId, int rightIndex);
// Writes one right, adding the user's row for the program when missing.
// Without a database name shows "DataBaseName必须有一个值".
void WriteRight(const QString& userId, int composeId, int programId, int rightIndex,
                const QString& value, const QString& dbName);
void WriteRight(const QString& userId, int composeId, int programId, int rightIndex,
                const QString& value);
