#pragma once

#include <functional>

class QWidget;

// Runs `action` on the next modal window of type T that opens (as soon as its
// exec() loop is running); gives up after a few seconds.
void OnNextModal(const char* className, std::function<void(QWidget*)> action);
