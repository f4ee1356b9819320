#include "controls/fill_combo.h"

#include <QComboBox>
#include <QSqlQuery>
#include <QSqlRecord>

void FillCombo(QComboBox* box, QSqlQuery& query, const QString& fieldName)
{
    QStringList items;
    if (query.first()) {
        const int field = query.record().indexOf(fieldName);
        do {
            items << query.value(field).toString();
        } while (query.next());
    }
    box->clear();
    box->addItems(items);
}
