#include "platform/fonts.h"

#include "platform/gbk.h"

#include <QFont>
#include <QGuiApplication>

void InstallFontSubstitutions()
{
    static bool installed = false;
    if (installed)
        return;
    installed = true;
    const QString sans = QStringLiteral("Noto Sans CJK SC");
    const QString serif = QStringLiteral("Noto Serif CJK SC");
    const struct
    {
        const char* face;
        const QString& target;
    } table[] = {
        {"宋体", serif},
        {"新宋体", serif},
        {"SimSun", serif},
        {"NSimSun", serif},
        {"仿宋", serif},
        {"仿宋_GB2312", serif},
        {"FangSong", serif},
        {"楷体", serif},
        {"楷体_GB2312", serif},
        {"KaiTi", serif},
        {"黑体", sans},
        {"SimHei", sans},
        {"微软雅黑", sans},
        {"Microsoft YaHei", sans},
        {"幼圆", sans},
        // A stored name cut to its column's 10 bytes.
        {"仿宋_GB231", serif},
        {"楷体_GB231", serif},
    };
    for (const auto& entry : table)
        QFont::insertSubstitutions(QString::fromUtf8(entry.face), {entry.target, sans});
}

void InstallChineseFonts()
{
    InstallFontSubstitutions();
    const QString sans = QStringLiteral("Noto Sans CJK SC");

    QFont font = QGuiApplication::font();
    font.setFamilies({sans, font.family()});
    font.setPointSize(10);
    QGuiApplication::setFont(font);
}

QString StorableFontFamily(const QString& family, int maxBytes)
{
    InstallFontSubstitutions();
    if (GbkByteLength(family) <= maxBytes)
        return family;
    // The usual names first, so a chosen Noto face is stored as 宋体 or 黑体.
    const QStringList faces =
        QStringList{QStringLiteral("宋体"), QStringLiteral("黑体")} + QFont::substitutions();
    for (const QString& face : faces) {
        const QStringList targets = QFont::substitutes(face);
        if (!targets.isEmpty() && targets.first().compare(family, Qt::CaseInsensitive) == 0 &&
            GbkByteLength(face) <= maxBytes)
            return face;
    }
    return {};
}
