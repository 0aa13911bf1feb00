#pragma once

#include "core/configuration.h"

#include <QList>
#include <QString>

// Where two configurations differ, as the module and as the settings file see it.

// A field of the parameter record whose text differs. Offset and width are those of the record table
// (parameterRecordFields()); the texts are the field's text in each record.
struct RecordDifference
{
    QString section;
    QString field;
    int offset = 0;
    int width = 0;
    QString a;
    QString b;
};

// A stored value that differs without changing any record field (a tab, a text no field sends, a value that a
// rule keeps out of the record): its field in configurationFields() and the stored forms.
struct StoredDifference
{
    int field = -1;
    QString a;
    QString b;
};

struct ConfigurationDifference
{
    QList<RecordDifference> record; // in record order
    QList<StoredDifference> stored; // in field order
    bool recordsEqual() const { return record.isEmpty(); }
};

ConfigurationDifference compareConfigurations(const Configuration &a, const Configuration &b);
