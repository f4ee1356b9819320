// kwfast-initdb DIR: installs a new, empty database in DIR (the tables and
// their reference rows) and points the alias fastLink at it.
// kwfast-initdb --demo DIR: the same, with sample couriers and records.
// kwfast-initdb --alias-only DIR: only points the alias at an existing one.
#include "data/connection.h"
#include "platform/config.h"
#include "model/demo_data.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <cstdio>

int main(int argc, char** argv)
{
    // Drawing the demo forms needs fonts, never a screen.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    const bool aliasOnly = args.removeAll(QStringLiteral("--alias-only")) > 0;
    const bool demo = args.removeAll(QStringLiteral("--demo")) > 0;
    if (args.size() != 1 || args[0].startsWith(QLatin1Char('-'))) {
        std::fprintf(stderr, "usage: kwfast-initdb [--demo | --alias-only] DIR\n");
        return 2;
    }
    const QString folder = QDir(args[0]).absolutePath();
    if (aliasOnly) {
        if (!QFileInfo::exists(SqliteFilePath(folder))) {
            std::fprintf(stderr, "kwfast-initdb: %s\n",
                         qPrintable(QStringLiteral("没有找到数据库: ") + SqliteFilePath(folder)));
            return 1;
        }
    } else {
        QString failure = InstallDatabase(folder);
        if (failure.isEmpty() && demo)
            failure = InstallDemoData(folder);
        if (!failure.isEmpty()) {
            std::fprintf(stderr, "kwfast-initdb: %s\n", qPrintable(failure));
            return 1;
        }
    }
    config::Alias alias;
    alias.path = folder;
    if (!config::WriteAlias(kAliasName, alias)) {
        std::fprintf(stderr, "kwfast-initdb: %s\n",
                     qPrintable(QStringLiteral("不能写入连接参数: ") + config::IniPath()));
        return 1;
    }
    std::printf("%s\n", qPrintable(QStringLiteral("数据库已安装: %1\n连接参数: %2")
                                       .arg(SqliteFilePath(folder), config::IniPath())));
    return 0;
}
