#include "platform/fonts.h"

#include "platform/gbk.h"
#include "platform/sfnt.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFont>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QHash>
#include <QRawFont>
#include <QSaveFile>
#include <QStandardPaths>

namespace {

// An installed family → the one the program draws with instead.
QHash<QString, QString>& derivedFamilies()
{
    static QHash<QString, QString> families;
    return families;
}

bool registered(int id, const QString& family)
{
    return id >= 0 && QFontDatabase::applicationFontFamilies(id).contains(family);
}

// The family drawn in place of the installed `source`: the same glyphs, its
// character map without the radicals that share a glyph with an ideograph,
// so that a PDF reads "大街" and not "⼤街". Built once and kept in the user's
// cache folder (a font is tens of megabytes); `source` itself when it cannot be.
QString drawingFamily(const QString& source)
{
    const QRawFont raw = QRawFont::fromFont(QFont(source));
    if (!raw.isValid() || raw.familyName() != source)
        return source;
    const QString derived = QStringLiteral("KW ") + QString(source).remove(QStringLiteral("Noto "));
    // A new version of the installed font makes a new file.
    const QByteArray key = QCryptographicHash::hash(raw.fontTable("head") + QByteArrayLiteral("1"),
                                                    QCryptographicHash::Md5)
                               .toHex()
                               .left(12);
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation) +
                           QStringLiteral("/kwsoftware/fonts");
    const QString stem = QString(derived).remove(QLatin1Char(' ')) + QLatin1Char('-');
    const QString file =
        QDir(folder).filePath(stem + QString::fromLatin1(key) + QStringLiteral(".otf"));
    if (QFileInfo::exists(file) && registered(QFontDatabase::addApplicationFont(file), derived))
        return derived;
    const QByteArray font = FontWithoutIdeographAliases(raw, derived);
    if (font.isEmpty())
        return source;
    // Copies made from earlier versions of the font go; this one's may be in
    // use by another running copy and stays.
    for (const QString& stale :
         QDir(folder).entryList({stem + QStringLiteral("????????????.otf")}, QDir::Files))
        if (QDir(folder).filePath(stale) != file)
            QFile::remove(QDir(folder).filePath(stale));
    QSaveFile out(file);
    if (QDir().mkpath(folder) && out.open(QIODevice::WriteOnly) && out.write(font) == font.size() &&
        out.commit() && registered(QFontDatabase::addApplicationFont(file), derived))
        return derived;
    return registered(QFontDatabase::addApplicationFontFromData(font), derived) ? derived : source;
}

} // namespace

void InstallFontSubstitutions()
{
    static bool installed = false;
    if (installed)
        return;
    installed = true;
    const QString sansSource = QStringLiteral("Noto Sans CJK SC");
    const QString serifSource = QStringLiteral("Noto Serif CJK SC");
    const QString sans = drawingFamily(sansSource);
    const QString serif = drawingFamily(serifSource);
    derivedFamilies().insert(sansSource, sans);
    derivedFamilies().insert(serifSource, serif);
    // The installed faces stay behind them for the few characters taken out.
    const QStringList serifFaces{serif, serifSource, sans, sansSource};
    const QStringList sansFaces{sans, sansSource};
    const struct
    {
        const char* face;
        const QStringList& targets;
    } table[] = {
        {"宋体", serifFaces},
        {"新宋体", serifFaces},
        {"SimSun", serifFaces},
        {"NSimSun", serifFaces},
        {"仿宋", serifFaces},
        {"仿宋_GB2312", serifFaces},
        {"FangSong", serifFaces},
        {"楷体", serifFaces},
        {"楷体_GB2312", serifFaces},
        {"KaiTi", serifFaces},
        {"黑体", sansFaces},
        {"SimHei", sansFaces},
        {"微软雅黑", sansFaces},
        {"Microsoft YaHei", sansFaces},
        {"幼圆", sansFaces},
        // A stored name cut to its column's 10 bytes.
        {"仿宋_GB231", serifFaces},
        {"楷体_GB231", serifFaces},
    };
    for (const auto& entry : table)
        QFont::insertSubstitutions(QString::fromUtf8(entry.face), entry.targets);
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
    const QString drawn = derivedFamilies().value(family, family);
    const QStringList faces =
        QStringList{QStringLiteral("宋体"), QStringLiteral("黑体")} + QFont::substitutions();
    for (const QString& face : faces) {
        const QStringList targets = QFont::substitutes(face);
        if (!targets.isEmpty() && targets.first().compare(drawn, Qt::CaseInsensitive) == 0 &&
            GbkByteLength(face) <= maxBytes)
            return face;
    }
    return {};
}
