#pragma once

// Makes the face names the data carries (宋体, 黑体, 仿宋_GB2312 …) resolve to
// installed CJK fonts. Safe to call more than once.
void InstallFontSubstitutions();

// The substitutions, and a CJK face for the whole interface.
void InstallChineseFonts();
