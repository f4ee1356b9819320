#pragma once

#include <QString>

// Named settings shared by every desk (SYS_ID_TABLE) …
bool GetSysFlag(const QString& name);
QString GetSysValue(const QString& name);
void SetSysValue(const QString& name, const QString& value);

// … and the installation's own values (the "registry" key SOFTWARE\KWSOFTWARE).
void WriteRegString(const QString& name, const QString& value);
QString ReadRegString(const QString& name);
// Empty unless the stored text reads as an integer.
QString ReadRegInteger(const QString& name);

// WorkDate becomes today, so records made after midnight carry the new date.
void RefreshWorkDate();
