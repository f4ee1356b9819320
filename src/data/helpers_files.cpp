#include "data/helpers.h"

#include "platform/config.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace {

bool copyFile(const QString& source, const QString& target)
{
    if (QFileInfo::exists(target) && !QFile::remove(target))
        return false;
    return QFile::copy(source, target);
}

bool copyFolder(const QString& source, const QString& target)
{
    if (!QDir().mkpath(target))
        return false;
    const QDir from(source);
    const QDir to(target);
    for (const QFileInfo& entry : from.entryInfoList(QDir::AllEntries | QDir::Hidden |
                                                     QDir::System | QDir::NoDotAndDotDot)) {
        const QString dest = to.filePath(entry.fileName());
        const bool ok = entry.isDir() && !entry.isSymLink() ? copyFolder(entry.filePath(), dest)
                                                            : copyFile(entry.filePath(), dest);
        if (!ok)
            return false;
    }
    return true;
}

} // namespace

bool IsDirectory(const QString& path)
{
    return !path.isEmpty() && QFileInfo(path).isDir();
}

QString TempFolder()
{
    QString folder = QDir::tempPath();
    if (!folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');
    return folder.left(255);
}

QString FileFolder(const QString& path)
{
    const qsizetype last = path.lastIndexOf(QLatin1Char('/'));
    if (last < 0 || last == path.size() - 1)
        return {};
    return path.left(last + 1);
}

QString AliasPath(const QString& aliasName)
{
    if (!config::AliasExists(aliasName))
        return {};
    return config::ReadAlias(aliasName).path;
}

bool CopyFiles(const QString& source, const QString& destination)
{
    const QFileInfo from(source);
    if (!from.exists())
        return false;
    QString target = destination;
    if (QFileInfo(destination).isDir())
        target = QDir(destination).filePath(from.fileName());
    if (from.isDir()) {
        const QString absoluteTarget = QFileInfo(target).absoluteFilePath();
        // A folder copied into itself would never end.
        if (absoluteTarget.startsWith(from.absoluteFilePath() + QLatin1Char('/')))
            return false;
        return copyFolder(from.absoluteFilePath(), absoluteTarget);
    }
    QDir().mkpath(QFileInfo(target).absolutePath());
    return copyFile(from.absoluteFilePath(), target);
}

bool StageFileCopy(const QString& source, QSaveFile& staged)
{
    QFile from(source);
    if (!from.open(QIODevice::ReadOnly) || !staged.open(QIODevice::WriteOnly))
        return false;
    bool copied = true;
    QByteArray chunk;
    while (copied && !(chunk = from.read(1 << 16)).isEmpty())
        copied = staged.write(chunk) == chunk.size(); // short when the disk is full
    // Flushed here, so a full disk shows now and not only when committing.
    copied = copied && from.error() == QFileDevice::NoError && from.atEnd() && staged.flush() &&
             staged.error() == QFileDevice::NoError;
    if (!copied)
        staged.cancelWriting();
    return copied;
}
