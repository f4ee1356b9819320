#pragma once

#include <QColor>
#include <QString>

enum class TSqlType { urStandard = 0, urSql_Server = 1, urAccess = 2 };

// The process-wide values: who is logged on, the sender company, the work
// date, the folders and the window palette. Set by start-up, logon and the
// main window; read everywhere. GUI thread only.
struct TAppGlobals
{
    QString UserID = QStringLiteral("G001");
    QString UserName = QStringLiteral("系统用户");
    bool IsSysUser = false;
    QString CompanyName = QStringLiteral("凯维");
    QString ImeName;
    QString WorkDate; // "YYYY-MM-DD"
    QString DataPath; // parent of DBPath; holds DataFile
    QString DBPath;   // folder of the alias: tables and waybill pictures
    int ScreenWidth = 0;
    bool DBConnectFailed = false;
    bool AutoOrderID = false;
    bool CheckOrderID = false;

    QColor Color{254, 250, 241};
    QColor ColorOnFocus{199, 247, 248};
    QColor EditColor{238, 253, 253};
    QColor LabelColor{190, 253, 183};
    QString Language = QStringLiteral("GB");
    TSqlType SqlType = TSqlType::urStandard;
};

extern TAppGlobals AppGlobals;
