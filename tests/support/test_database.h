#pragma once

#include <QString>
#include <QTemporaryDir>

// A fresh installation for one test: its own KWFAST_HOME with the alias,
// a new database made by the installation code, and the connection open.
class TestDatabase
{
public:
    TestDatabase();
    ~TestDatabase();

    QString home() const { return m_dir.path(); }
    QString dbPath() const { return m_dir.path() + QStringLiteral("/KWFast/data"); }
    bool ok() const { return m_ok; }

private:
    QTemporaryDir m_dir;
    bool m_ok = false;
};
