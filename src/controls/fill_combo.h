#pragma once

#include <QString>

class QComboBox;
class QSqlQuery;

// The box's items become the field's text of every row, in order.
void FillCombo(QComboBox* box, QSqlQuery& query, const QString& fieldName);
