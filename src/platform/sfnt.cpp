#include "platform/sfnt.h"

#include <QRawFont>
#include <QtEndian>
#include <cstring>
#include <map>
#include <unordered_set>

namespace {

// The tables a font may carry besides its character map and names; those it
// lacks come back empty and are left out.
const char* const kTables[] = {
    "BASE", "CFF ", "CFF2", "COLR", "CPAL", "DSIG", "GDEF", "GPOS", "GSUB", "HVAR",
    "JSTF", "LTSH", "MATH", "MVAR", "OS/2", "PCLT", "STAT", "VDMX", "VORG", "VVAR",
    "avar", "cvar", "cvt ", "fpgm", "fvar", "gasp", "glyf", "gvar", "hdmx", "head",
    "hhea", "hmtx", "kern", "loca", "maxp", "meta", "post", "prep", "vhea", "vmtx",
};

using CharMap = std::map<char32_t, quint32>; // code point → glyph

quint16 u16(const QByteArray& b, qsizetype at)
{
    return at >= 0 && at + 2 <= b.size() ? qFromBigEndian<quint16>(b.constData() + at) : 0;
}

quint32 u32(const QByteArray& b, qsizetype at)
{
    return at >= 0 && at + 4 <= b.size() ? qFromBigEndian<quint32>(b.constData() + at) : 0;
}

void put16(QByteArray& b, quint16 v)
{
    char bytes[2];
    qToBigEndian(v, bytes);
    b.append(bytes, 2);
}

void put32(QByteArray& b, quint32 v)
{
    char bytes[4];
    qToBigEndian(v, bytes);
    b.append(bytes, 4);
}

bool readFormat12(const QByteArray& cmap, qsizetype at, CharMap& map)
{
    const qsizetype groups = u32(cmap, at + 12);
    if (at + 16 + groups * 12 > cmap.size())
        return false;
    for (qsizetype g = 0; g < groups; ++g) {
        const qsizetype group = at + 16 + g * 12;
        const quint32 first = u32(cmap, group);
        const quint32 last = u32(cmap, group + 4);
        const quint32 glyph = u32(cmap, group + 8);
        if (last < first || last > 0x10FFFF)
            return false;
        for (quint32 c = first; c <= last; ++c)
            map[c] = glyph + (c - first);
    }
    return true;
}

bool readFormat4(const QByteArray& cmap, qsizetype at, CharMap& map)
{
    const qsizetype segments = u16(cmap, at + 6) / 2;
    const qsizetype ends = at + 14;
    const qsizetype starts = ends + 2 * segments + 2;
    const qsizetype deltas = starts + 2 * segments;
    const qsizetype offsets = deltas + 2 * segments;
    if (offsets + 2 * segments > cmap.size())
        return false;
    for (qsizetype s = 0; s < segments; ++s) {
        const quint32 first = u16(cmap, starts + 2 * s);
        const quint32 last = u16(cmap, ends + 2 * s);
        const quint16 delta = u16(cmap, deltas + 2 * s);
        const quint16 rangeOffset = u16(cmap, offsets + 2 * s);
        for (quint32 c = first; c <= last && c != 0xFFFF; ++c) {
            quint16 glyph = 0;
            if (rangeOffset == 0) {
                glyph = quint16(c + delta);
            } else {
                glyph = u16(cmap, offsets + 2 * s + rangeOffset + 2 * (c - first));
                if (glyph != 0)
                    glyph = quint16(glyph + delta);
            }
            if (glyph != 0)
                map[c] = glyph;
        }
    }
    return true;
}

// The Unicode mapping of a 'cmap' table, and its variation sequences (kept as they are).
bool readCharMap(const QByteArray& cmap, CharMap& map, QByteArray& variations)
{
    qsizetype full = -1;
    qsizetype bmp = -1;
    const int records = u16(cmap, 2);
    for (int i = 0; i < records; ++i) {
        const qsizetype record = 4 + 8 * i;
        const quint16 platform = u16(cmap, record);
        const quint16 encoding = u16(cmap, record + 2);
        const qsizetype at = u32(cmap, record + 4);
        const quint16 format = u16(cmap, at);
        if (format == 12 && (platform == 0 || (platform == 3 && encoding == 10)))
            full = at;
        else if (format == 4 && (platform == 0 || (platform == 3 && encoding == 1)))
            bmp = at;
        else if (format == 14 && platform == 0 && encoding == 5)
            variations = cmap.mid(at, u32(cmap, at + 2));
    }
    if (full >= 0)
        return readFormat12(cmap, full, map);
    return bmp >= 0 && readFormat4(cmap, bmp, map);
}

// Radicals and rare ideographs below U+4E00 drawn with the glyph of a
// unified ideograph would be read back in its place.
void dropIdeographAliases(CharMap& map)
{
    std::unordered_set<quint32> unified;
    for (auto it = map.lower_bound(0x4E00); it != map.end() && it->first <= 0x9FFF; ++it)
        unified.insert(it->second);
    for (auto it = map.lower_bound(0x2E80); it != map.end() && it->first < 0x4E00;)
        it = unified.count(it->second) ? map.erase(it) : std::next(it);
}

QByteArray charMapTable(const CharMap& map, const QByteArray& variations)
{
    QByteArray groups;
    quint32 count = 0;
    for (auto it = map.begin(); it != map.end();) {
        const char32_t first = it->first;
        const quint32 glyph = it->second;
        char32_t last = first;
        auto next = std::next(it);
        while (next != map.end() && next->first == last + 1 &&
               next->second == glyph + (next->first - first)) {
            last = next->first;
            ++next;
        }
        put32(groups, first);
        put32(groups, last);
        put32(groups, glyph);
        ++count;
        it = next;
    }
    QByteArray full;
    put16(full, 12);
    put16(full, 0);
    put32(full, quint32(16 + groups.size()));
    put32(full, 0);
    put32(full, count);
    full += groups;

    // A platform 0 map too: FreeType would otherwise add one of its own from
    // the glyph names, and Qt takes the last Unicode map it is given.
    const quint16 records = variations.isEmpty() ? 2 : 3;
    const quint32 fullAt = 4 + 8 * records;
    const quint32 variationsAt = fullAt + quint32(full.size());
    QByteArray table;
    put16(table, 0);
    put16(table, records);
    put16(table, 0);
    put16(table, 4);
    put32(table, fullAt);
    if (!variations.isEmpty()) {
        put16(table, 0);
        put16(table, 5);
        put32(table, variationsAt);
    }
    put16(table, 3);
    put16(table, 10);
    put32(table, fullAt);
    return table + full + variations;
}

QByteArray nameTable(const QString& family)
{
    const QString postScript =
        QString(family).remove(QLatin1Char(' ')) + QStringLiteral("-Regular");
    const std::pair<quint16, QString> names[] = {
        {1, family}, {2, QStringLiteral("Regular")}, {3, postScript}, {4, family}, {6, postScript}};
    QByteArray records;
    QByteArray strings;
    for (const auto& [id, text] : names) {
        QByteArray utf16;
        for (const QChar c : text)
            put16(utf16, c.unicode());
        put16(records, 3); // Windows, Unicode BMP, US English
        put16(records, 1);
        put16(records, 0x409);
        put16(records, id);
        put16(records, quint16(utf16.size()));
        put16(records, quint16(strings.size()));
        strings += utf16;
    }
    QByteArray table;
    put16(table, 0);
    put16(table, quint16(std::size(names)));
    put16(table, quint16(6 + records.size()));
    return table + records + strings;
}

quint32 checksum(const QByteArray& data)
{
    quint32 sum = 0;
    for (qsizetype at = 0; at < data.size(); at += 4) {
        char word[4] = {0, 0, 0, 0};
        memcpy(word, data.constData() + at, size_t(qMin<qsizetype>(4, data.size() - at)));
        sum += qFromBigEndian<quint32>(word);
    }
    return sum;
}

QByteArray assemble(std::map<QByteArray, QByteArray> tables)
{
    QByteArray& head = tables[QByteArrayLiteral("head")];
    head.replace(8, 4, QByteArray(4, '\0')); // the font's checksum, set last
    const bool cff =
        tables.count(QByteArrayLiteral("CFF ")) || tables.count(QByteArrayLiteral("CFF2"));
    const quint16 count = quint16(tables.size());
    quint16 power = 1;
    quint16 exponent = 0;
    while (power * 2 <= count) {
        power *= 2;
        ++exponent;
    }
    QByteArray font;
    put32(font, cff ? 0x4F54544F : 0x00010000); // "OTTO" for CFF outlines
    put16(font, count);
    put16(font, quint16(power * 16));
    put16(font, exponent);
    put16(font, quint16(count * 16 - power * 16));
    QByteArray body;
    qsizetype headAt = 0;
    const qsizetype bodyAt = 12 + 16 * qsizetype(count);
    for (const auto& [tag, data] : tables) { // std::map keeps the tags in order
        if (tag == "head")
            headAt = bodyAt + body.size();
        font += tag;
        put32(font, checksum(data));
        put32(font, quint32(bodyAt + body.size()));
        put32(font, quint32(data.size()));
        body += data;
        body.append((4 - body.size() % 4) % 4, '\0');
    }
    font += body;
    QByteArray adjustment;
    put32(adjustment, 0xB1B0AFBA - checksum(font));
    font.replace(headAt + 8, 4, adjustment);
    return font;
}

} // namespace

QByteArray FontWithoutIdeographAliases(const QRawFont& source, const QString& family)
{
    if (!source.isValid())
        return {};
    CharMap map;
    QByteArray variations;
    if (!readCharMap(source.fontTable("cmap"), map, variations) || map.empty())
        return {};
    dropIdeographAliases(map);
    std::map<QByteArray, QByteArray> tables;
    for (const char* tag : kTables)
        if (QByteArray data = source.fontTable(tag); !data.isEmpty())
            tables.emplace(QByteArray(tag), std::move(data));
    if (!tables.count(QByteArrayLiteral("head")) || !tables.count(QByteArrayLiteral("maxp")))
        return {};
    tables[QByteArrayLiteral("cmap")] = charMapTable(map, variations);
    tables[QByteArrayLiteral("name")] = nameTable(family);
    return assemble(std::move(tables));
}
