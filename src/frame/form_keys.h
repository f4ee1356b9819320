#pragma once

#include <QKeySequence>

class QAbstractButton;
class QLineEdit;
class QWidget;

// A function key that presses the button, only while the button is visible
// and enabled. The window sees the key before its controls.
void BindFunctionKey(QAbstractButton* button, const QKeySequence& key);

// Enter in an entry field of the window moves the focus to the next control.
void InstallEnterMovesFocus(QWidget* window);

// Entry fields take EditColor at rest and ColorOnFocus with the focus.
void ApplyEditColors(QWidget* window);

// Centres a window on its visible owner, else on the screen.
void CenterOnOwner(QWidget* window);

// A passcode field that shows "*" for each character.
void MaskWithStars(QLineEdit* edit);
