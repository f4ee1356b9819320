#pragma once

#include <QByteArray>
#include <QString>

class QRawFont;

// `source` rebuilt as an OpenType font of the family `family`, its character
// map without the code points that only alias a unified ideograph's glyph
// (the Kangxi radical ⼤ U+2F24 for 大 U+5927, the radical ⻔ for 门 …). Qt's
// PDF writer gives each glyph the lowest code point that maps to it as its
// text, so with the aliases gone printed text reads back as it was typed.
// Empty when the font's tables cannot be read.
QByteArray FontWithoutIdeographAliases(const QRawFont& source, const QString& family);
