#include "app/screen_check.h"

#include "data/helpers.h"

#include <QGuiApplication>
#include <QProcess>
#include <QScreen>
#include <QStandardPaths>

int CheckScreenResolution()
{
    QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return 0;
    const int width = screen->size().width();
    if (width >= 1024)
        return width;
    ShowMsg(QStringLiteral(
        "系统需要1024 × 768的屏幕分辨率才能正常显示,系统要调整分辨率到1024 × "
        "768，您以后在运行本软件前请将屏幕分辨率设定为：1024 × 768,此时屏幕会闪一下出现黑屏"));
    // Only an X11 desktop lets an ordinary user change the mode (RandR); the
    // change lasts for this session and is not stored.
    const QString xrandr = QStandardPaths::findExecutable(QStringLiteral("xrandr"));
    if (QGuiApplication::platformName() == QLatin1String("xcb") && !xrandr.isEmpty())
        QProcess::execute(xrandr, {QStringLiteral("-s"), QStringLiteral("1024x768")});
    return width;
}
