#pragma once

// The primary screen's width before any change. A screen narrower than 1024
// pixels gets a notice and, where the desktop allows it without privileges,
// is switched to 1024 × 768 for this session.
int CheckScreenResolution();
