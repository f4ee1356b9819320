#pragma once

// Qt's own texts in Chinese, whatever the system's language: the standard
// dialogs (files, folders, fonts), the edit fields' context menus and the
// calendar speak the interface's language. False when the translations are
// not installed; the program then runs with Qt's English texts.
bool InstallQtTranslations();
