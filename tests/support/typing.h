#pragma once

#include <QString>

class QWidget;

// Types text into a widget key by key, Chinese included (QTest::keyClicks
// takes Latin-1 only).
void TypeText(QWidget* widget, const QString& text);
