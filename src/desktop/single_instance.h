#pragma once

#include <QLockFile>
#include <QObject>
#include <memory>

class QLocalServer;

// One running copy per user and name. Starting takes a lock file in the
// user's runtime folder and holds it for the process's life, so of two
// quick starts exactly one wins; only the holder then listens on a local
// socket beside it, through which later starts ask it to come forward.
class SingleInstance : public QObject
{
    Q_OBJECT
public:
    explicit SingleInstance(const QString& name, QObject* parent = nullptr);
    ~SingleInstance() override;

    // True when this process is the running copy. False when another copy
    // runs: it was asked to come forward (waiting up to waitMs for it to
    // listen, when it is still starting).
    bool Claim(int waitMs = 5000);

    QString LockPath() const { return m_folder + m_name + QStringLiteral(".lock"); }
    QString SocketPath() const { return m_folder + m_name + QStringLiteral(".socket"); }

Q_SIGNALS:
    // A later start asked this copy to come forward.
    void raiseRequested();

private:
    void askRunningCopy(int waitMs);

    QString m_folder; // ends in "/"
    QString m_name;
    std::unique_ptr<QLockFile> m_lock;
    std::unique_ptr<QLocalServer> m_server;
};
