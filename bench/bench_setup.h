#pragma once

// A database for one benchmark run, in its own KWFAST_HOME, connection open.
#include "app/startup.h"
#include "data/connection.h"
#include "model/demo_data.h"
#include "platform/config.h"
#include "platform/prompts.h"

#include <QFile>
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
    OpenSession();
    return true;
}

// Counts what would have been shown; the benchmark expects nothing.
class CountingPrompter : public Prompter
{
public:
    int shown = 0;
    void message(QWidget*, Icon, const QString&, const QString& text) override
    {
        ++shown;
        std::fprintf(stderr, "message: %s\n", qPrintable(text));
    }
    bool askYesNo(QWidget*, const QString&, const QString&) override { return ++shown, false; }
    QString openFile(QWidget*, const QString&, const QString&, const QString&) override
    {
        return {};
    }
    QString saveFile(QWidget*, const QString&, const QString&, const QString&) override
    {
        return {};
    }
    QString chooseFolder(QWidget*, const QString&, const QString&) override { return {}; }
    bool chooseFont(QWidget*, QFont&) override { return false; }
};

inline double residentMb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toDouble() / 1024.0;
    return 0;
}
