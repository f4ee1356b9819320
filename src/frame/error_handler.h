#pragma once

#include <exception>

class QObject;

// The application-wide handler: turns database and conversion errors into
// the program's Chinese messages, shows anything else in the error box and
// ignores the silent abort. Never throws.
void HandleAppException(QObject* sender, std::exception_ptr error);
