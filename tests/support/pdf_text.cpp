#include "pdf_text.h"

#include <QFile>
#include <QHash>
#include <QRegularExpression>
#include <QtEndian>

namespace {

struct PdfObject
{
    QByteArray dictionary;
    QByteArray stream; // inflated
};

QByteArray inflate(const QByteArray& deflated)
{
    // qUncompress wants the size first; it grows the buffer when that is short.
    QByteArray sized(4, '\0');
    qToBigEndian<quint32>(quint32(deflated.size() * 8), sized.data());
    return qUncompress(sized + deflated);
}

QHash<int, PdfObject> readObjects(const QByteArray& pdf)
{
    QHash<int, PdfObject> objects;
    static const QRegularExpression start(QStringLiteral("(\\d+) 0 obj"));
    const QString text = QString::fromLatin1(pdf); // one character per byte
    qsizetype at = 0;
    while (true) {
        const QRegularExpressionMatch m = start.match(text, at);
        if (!m.hasMatch())
            break;
        const qsizetype end = pdf.indexOf("endobj", m.capturedEnd());
        if (end < 0)
            break;
        const QByteArray body = pdf.mid(m.capturedEnd(), end - m.capturedEnd());
        PdfObject object;
        const qsizetype stream = body.indexOf("stream");
        object.dictionary = stream < 0 ? body : body.left(stream);
        if (stream >= 0) {
            qsizetype data = stream + 6;
            if (body.mid(data, 2) == "\r\n")
                data += 2;
            else if (body.at(data) == '\n')
                ++data;
            QByteArray bytes = body.mid(data, body.lastIndexOf("endstream") - data);
            object.stream = object.dictionary.contains("/FlateDecode") ? inflate(bytes) : bytes;
        }
        objects.insert(m.captured(1).toInt(), object);
        at = end;
    }
    return objects;
}

// Glyph code → text, from the bfchar and bfrange entries of a ToUnicode map.
QHash<uint, QString> readToUnicode(const QByteArray& cmap)
{
    QHash<uint, QString> map;
    auto text = [](const QString& hex) {
        QString s;
        for (qsizetype i = 0; i + 4 <= hex.size(); i += 4)
            s += QChar(char16_t(hex.mid(i, 4).toUInt(nullptr, 16)));
        return s;
    };
    const QString source = QString::fromLatin1(cmap);
    static const QRegularExpression range(
        QStringLiteral("<([0-9A-Fa-f]+)>\\s*<([0-9A-Fa-f]+)>\\s*(\\[[^\\]]*\\]|<[0-9A-Fa-f]+>)"));
    static const QRegularExpression hex(QStringLiteral("<([0-9A-Fa-f]+)>"));
    for (const QString& section : {QStringLiteral("bfrange"), QStringLiteral("bfchar")}) {
        qsizetype at = 0;
        while ((at = source.indexOf(QStringLiteral("begin") + section, at)) >= 0) {
            const qsizetype end = source.indexOf(QStringLiteral("end") + section, at);
            const QString block = source.mid(at, end - at);
            at = end;
            if (section == QLatin1String("bfchar")) {
                auto it = hex.globalMatch(block);
                while (it.hasNext()) {
                    const uint code = it.next().captured(1).toUInt(nullptr, 16);
                    if (it.hasNext())
                        map.insert(code, text(it.next().captured(1)));
                }
                continue;
            }
            auto it = range.globalMatch(block);
            while (it.hasNext()) {
                const QRegularExpressionMatch m = it.next();
                const uint first = m.captured(1).toUInt(nullptr, 16);
                const uint last = m.captured(2).toUInt(nullptr, 16);
                const QString target = m.captured(3);
                if (target.startsWith(QLatin1Char('['))) {
                    auto values = hex.globalMatch(target);
                    for (uint code = first; code <= last && values.hasNext(); ++code)
                        map.insert(code, text(values.next().captured(1)));
                } else {
                    const QString base = text(target.mid(1, target.size() - 2));
                    for (uint code = first; code <= last; ++code)
                        map.insert(code,
                                   QString(QChar(char16_t(base.at(0).unicode() + (code - first)))));
                }
            }
        }
    }
    return map;
}

} // namespace

QString PdfText(const QString& file)
{
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    const QHash<int, PdfObject> objects = readObjects(f.readAll());
    // Font resource name → its ToUnicode map.
    QHash<QString, QHash<uint, QString>> fonts;
    static const QRegularExpression resource(QStringLiteral("/(F\\d+)\\s+(\\d+) 0 R"));
    static const QRegularExpression toUnicode(QStringLiteral("/ToUnicode\\s+(\\d+) 0 R"));
    for (const PdfObject& object : objects) {
        auto it = resource.globalMatch(QString::fromLatin1(object.dictionary));
        while (it.hasNext()) {
            const QRegularExpressionMatch m = it.next();
            const QRegularExpressionMatch map = toUnicode.match(
                QString::fromLatin1(objects.value(m.captured(2).toInt()).dictionary));
            if (map.hasMatch())
                fonts.insert(m.captured(1),
                             readToUnicode(objects.value(map.captured(1).toInt()).stream));
        }
    }
    QString text;
    static const QRegularExpression token(
        QStringLiteral("/(F\\d+)\\s+[-0-9.]+\\s+Tf|<([0-9A-Fa-f]+)>|\\bET\\b"));
    static const QRegularExpression contents(QStringLiteral("/Contents\\s+(\\d+) 0 R"));
    QList<int> pages;
    for (const PdfObject& object : objects)
        if (const auto m = contents.match(QString::fromLatin1(object.dictionary)); m.hasMatch())
            pages << m.captured(1).toInt();
    std::sort(pages.begin(), pages.end());
    for (int id : pages) {
        const QByteArray& content = objects.value(id).stream;
        QHash<uint, QString> font;
        auto it = token.globalMatch(QString::fromLatin1(content));
        while (it.hasNext()) {
            const QRegularExpressionMatch m = it.next();
            if (!m.captured(1).isEmpty()) {
                font = fonts.value(m.captured(1));
            } else if (!m.captured(2).isEmpty()) {
                const QString codes = m.captured(2);
                for (qsizetype i = 0; i + 4 <= codes.size(); i += 4)
                    text += font.value(codes.mid(i, 4).toUInt(nullptr, 16));
            } else {
                text += QLatin1Char('\n');
            }
        }
    }
    return text;
}
