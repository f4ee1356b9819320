#pragma once

#include <QString>

// Sample data for a newcomer: two couriers with generated pictures of their
// blank forms and complete layouts, and 30 shipment records over the last
// months. `folder` holds a database made by InstallDatabase. Returns an
// empty text on success, else what went wrong.
QString InstallDemoData(const QString& folder);
