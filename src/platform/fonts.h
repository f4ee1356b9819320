#pragma once

// Makes the face names the data carries (宋体, 黑体, 仿宋_GB2312 …) resolve to
// installed CJK fonts, and gives the interface a CJK face.
void InstallChineseFonts();
