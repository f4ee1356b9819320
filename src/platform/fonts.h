#pragma once

#include <QString>

// Makes the face names the data carries (宋体, 黑体, 仿宋_GB2312 …) resolve to
// the installed CJK fonts, drawn through copies whose text a PDF gives back as
// typed (kept in the user's cache folder). Safe to call more than once.
void InstallFontSubstitutions();

// The substitutions, and a CJK face for the whole interface.
void InstallChineseFonts();

// A name for `family` that fits `maxBytes` GBK bytes and still resolves to
// it: the family itself, or a data face name substituted by it; empty when
// there is none.
QString StorableFontFamily(const QString& family, int maxBytes);
