#pragma once

#include <QList>
#include <QString>

// Where each value lies in the 640-character parameter record, for showing a record field by field.
struct RecordField
{
    QString section; // the page the value comes from ("frm1" …), "-" for the record's own filler
    QString field; // the control(s) it is built from, or what it stands for
    int offset = 0; // first character, counted from 0
    int width = 0;
};

// Every field in record order; the fields follow each other without gaps and end at character 640.
QList<RecordField> parameterRecordFields();
