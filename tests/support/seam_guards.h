#pragma once

#include "platform/clock.h"
#include "platform/printers.h"

// Installs a printer backend for a scope and puts the previous one back,
// also when a check fails and the test function returns early.
class PrinterBackendGuard
{
public:
    explicit PrinterBackendGuard(PrinterBackend* backend) : m_previous(SetPrinterBackend(backend))
    {
    }
    ~PrinterBackendGuard() { SetPrinterBackend(m_previous); }
    PrinterBackendGuard(const PrinterBackendGuard&) = delete;
    PrinterBackendGuard& operator=(const PrinterBackendGuard&) = delete;

private:
    PrinterBackend* m_previous;
};

// Fixes "now" for a scope; moves on with set(), restores the clock after.
class FixedClock
{
public:
    explicit FixedClock(const QDateTime& moment) : m_previous(SetFixedDateTime(moment)) {}
    ~FixedClock() { SetFixedDateTime(m_previous); }
    FixedClock(const FixedClock&) = delete;
    FixedClock& operator=(const FixedClock&) = delete;
    void set(const QDateTime& moment) { SetFixedDateTime(moment); }

private:
    QDateTime m_previous;
};
