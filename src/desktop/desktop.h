#pragma once

// Puts the real desktop behind the seams: message boxes and file dialogs for
// the prompts, the system's printers. The program calls it once at start.
void InstallDesktop();
