#include "desktop/single_instance.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>
#include <QThread>

namespace {

// The user's runtime folder; the temporary folder, shared by all users,
// carries the user's name in the file names instead.
QString userFolder(QString& name)
{
    const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (!runtime.isEmpty() && QDir().mkpath(runtime))
        return runtime + QLatin1Char('/');
    name += QLatin1Char('-') + qEnvironmentVariable("USER");
    return QDir::tempPath() + QLatin1Char('/');
}

} // namespace

SingleInstance::SingleInstance(const QString& name, QObject* parent) : QObject(parent), m_name(name)
{
    m_folder = userFolder(m_name);
    m_lock = std::make_unique<QLockFile>(LockPath());
    // Held for the process's life: only a dead holder makes it stale.
    m_lock->setStaleLockTime(0);
}

SingleInstance::~SingleInstance()
{
    // The socket goes before the lock, so it never removes a successor's socket.
    m_server.reset();
    m_lock->unlock();
}

bool SingleInstance::Claim(int waitMs)
{
    if (!m_lock->tryLock(0)) {
        if (m_lock->error() == QLockFile::LockFailedError) {
            askRunningCopy(waitMs);
            return false;
        }
        // A folder that takes no lock file must not keep the program from running.
        qWarning("single instance: no lock file at %s", qPrintable(LockPath()));
        return true;
    }
    // Holding the lock, this copy alone may replace a socket a crashed copy left.
    QLocalServer::removeServer(SocketPath());
    m_server = std::make_unique<QLocalServer>();
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    if (!m_server->listen(SocketPath()))
        qWarning("single instance: cannot listen on %s", qPrintable(SocketPath()));
    connect(m_server.get(), &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* socket = m_server->nextPendingConnection()) {
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            Q_EMIT raiseRequested();
        }
    });
    return true;
}

void SingleInstance::askRunningCopy(int waitMs)
{
    // The holder listens right after taking the lock; a copy still starting is waited for.
    const QDeadlineTimer deadline(waitMs);
    do {
        QLocalSocket probe;
        probe.connectToServer(SocketPath());
        if (probe.waitForConnected(qMin<qint64>(200, qMax<qint64>(1, deadline.remainingTime())))) {
            probe.write("raise\n");
            probe.waitForBytesWritten(500);
            probe.disconnectFromServer();
            return;
        }
        QThread::msleep(20);
    } while (!deadline.hasExpired());
}
