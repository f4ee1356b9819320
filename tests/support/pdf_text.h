#pragma once

#include <QString>

// The text of a PDF written by Qt's PDF writer as a reader extracts it: the
// glyph codes of every text-drawing operator read through the ToUnicode map
// of their font, in drawing order.
QString PdfText(const QString& file);
