#include "platform/input_methods.h"

#include <QStandardPaths>

QStringList InstalledInputMethods()
{
    QStringList names;
    const QString configured = qEnvironmentVariable("QT_IM_MODULE");
    if (!configured.isEmpty())
        names << configured;
    for (const char* name : {"fcitx5", "fcitx", "ibus"}) {
        const QString framework = QString::fromLatin1(name);
        if (!names.contains(framework) && !QStandardPaths::findExecutable(framework).isEmpty())
            names << framework;
    }
    return names;
}
