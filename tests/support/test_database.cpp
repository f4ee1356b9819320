#include "test_database.h"

#include "app/startup.h"
#include "data/connection.h"
#include "platform/config.h"
#include "session/app_globals.h"

#include <QtGlobal>

TestDatabase::TestDatabase()
{
    qputenv("KWFAST_HOME", m_dir.path().toUtf8());
    qputenv("KWFAST_INSTANCE", m_dir.path().toUtf8().toHex().right(16));
    AppGlobals = TAppGlobals{};
    AppGlobals.WorkDate = QStringLiteral("2024-03-05");
    const QString failure = InstallDatabase(dbPath());
    if (!failure.isEmpty()) {
        qWarning("install failed: %s", qPrintable(failure));
        return;
    }
    config::Alias alias;
    alias.path = dbPath();
    m_ok = config::WriteAlias(kAliasName, alias);
    OpenSession();
}

TestDatabase::~TestDatabase()
{
    CloseKWfastDataBase();
}
