#pragma once
#include <QObject>
class TKWDataSource : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;
    void SetActiveColor(bool on) { ActiveColor = on; }
    bool ActiveColor = false;
};
