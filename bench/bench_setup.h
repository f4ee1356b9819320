#pragma once

// A database for one benchmark run, in its own KWFAST_HOME, connection open.
#include "data/connection.h"
#include "platform/config.h"
#include "waybill/demo_data.h"

#include <QTemporaryDir>
#include <cstdio>

inline bool OpenBenchDatabase(const QTemporaryDir& home, bool demo)
{
    qputenv("KWFAST_HOME", home.path().toUtf8());
    const QString folder = home.filePath(QStringLiteral("data"));
    QString failure = InstallDatabase(folder);
    if (failure.isEmpty() && demo)
        failure = InstallDemoData(folder);
    if (!failure.isEmpty()) {
        std::fprintf(stderr, "%s\n", qPrintable(failure));
        return false;
    }
    config::Alias alias;
    alias.path = folder;
    config::WriteAlias(kAliasName, alias);
    OpenKWfastDataBase();
    return true;
}
