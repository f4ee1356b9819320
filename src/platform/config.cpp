#include "platform/config.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

namespace config {

namespace {

const QString kRegistryGroup = QStringLiteral("KWSOFTWARE");

bool storeReadable()
{
    QFileInfo file(IniPath());
    return !file.exists() || file.isReadable();
}

// Like the registry key, the store is created when missing.
bool storeWritable()
{
    QFileInfo file(IniPath());
    if (file.exists())
        return file.isWritable();
    if (!QDir().mkpath(file.absolutePath()))
        return false;
    return QFileInfo(file.absolutePath()).isWritable();
}

} // namespace

QString HomeFolder()
{
    const QString home = qEnvironmentVariable("KWFAST_HOME");
    if (!home.isEmpty())
        return home;
    QString base = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (base.isEmpty())
        base = QDir::homePath() + QStringLiteral("/.config");
    return base + QStringLiteral("/kwsoftware");
}

QString IniPath()
{
    return HomeFolder() + QStringLiteral("/kwsoftware.ini");
}

bool AliasExists(const QString& aliasName)
{
    if (!storeReadable())
        return false;
    QSettings ini(IniPath(), QSettings::IniFormat);
    return ini.contains(aliasName + QStringLiteral("/Path")) ||
           ini.contains(aliasName + QStringLiteral("/Host"));
}

Alias ReadAlias(const QString& aliasName)
{
    Alias alias;
    if (!storeReadable())
        return alias;
    QSettings ini(IniPath(), QSettings::IniFormat);
    ini.beginGroup(aliasName);
    alias.driver = ini.value(QStringLiteral("Driver"), alias.driver).toString();
    alias.path = ini.value(QStringLiteral("Path")).toString();
    alias.host = ini.value(QStringLiteral("Host")).toString();
    alias.port = ini.value(QStringLiteral("Port"), 0).toInt();
    alias.databaseName = ini.value(QStringLiteral("Database")).toString();
    alias.user = ini.value(QStringLiteral("User")).toString();
    alias.password = ini.value(QStringLiteral("Password")).toString();
    return alias;
}

bool WriteAlias(const QString& aliasName, const Alias& alias)
{
    if (!storeWritable())
        return false;
    QSettings ini(IniPath(), QSettings::IniFormat);
    ini.beginGroup(aliasName);
    ini.remove(QString());
    ini.setValue(QStringLiteral("Driver"), alias.driver);
    if (!alias.path.isEmpty())
        ini.setValue(QStringLiteral("Path"), alias.path);
    if (!alias.host.isEmpty()) {
        ini.setValue(QStringLiteral("Host"), alias.host);
        ini.setValue(QStringLiteral("Port"), alias.port);
        ini.setValue(QStringLiteral("Database"), alias.databaseName);
        ini.setValue(QStringLiteral("User"), alias.user);
        ini.setValue(QStringLiteral("Password"), alias.password);
    }
    ini.endGroup();
    ini.sync();
    return ini.status() == QSettings::NoError;
}

bool ReadValue(const QString& name, QString& value)
{
    value.clear();
    if (!storeReadable())
        return false;
    QSettings ini(IniPath(), QSettings::IniFormat);
    value = ini.value(kRegistryGroup + QLatin1Char('/') + name).toString();
    return ini.status() == QSettings::NoError;
}

bool WriteValue(const QString& name, const QString& value)
{
    if (!storeWritable())
        return false;
    QSettings ini(IniPath(), QSettings::IniFormat);
    ini.setValue(kRegistryGroup + QLatin1Char('/') + name, value);
    ini.sync();
    return ini.status() == QSettings::NoError;
}

} // namespace config
