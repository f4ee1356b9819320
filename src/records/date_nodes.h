#pragma once

#include <QDate>
#include <QStringList>

// The nine date ranges of the main window's tree, "全部快递" … "今日快递".
const QStringList& DateNodeNames();

// The statement that lists the shipment records of a date node, filtered on
// `field` and combined with a find condition (empty: none). `today` is the
// machine date when the list is loaded.
QString DateNodeStatement(int node, const QString& field, const QString& findCondition,
                          const QDate& today);
