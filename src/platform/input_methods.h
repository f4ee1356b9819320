#pragma once

#include <QStringList>

// Names of the input-method frameworks this desktop offers (fcitx5, ibus …),
// in a stable order; empty when none is found.
QStringList InstalledInputMethods();
