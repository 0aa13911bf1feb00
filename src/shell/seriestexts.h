#pragma once

#include <QString>
#include <QStringList>

// The texts of the series window and of the comparison window, each in the language in force when asked.
namespace SeriesText {

// The caption table's text of a control in the language in force ("frmStart", "Check", 1); empty when the
// table has none.
QString caption(const QString &window, const QString &control, int index = -1);
// The name of a configuration page as its menu button shows it ("frm4": "4 SMS Outputs"); the record's own
// filler ("-") and an unknown section by a word of their own.
QString pageName(const QString &section);

QString menuEntry();
QString windowTitle();
QString openUnitsFile();
QString unitsFileFilter();
QString noFileOpen();
QString fileLine(const QString &path, int units);
QString portLine(const QString &port);
QStringList unitHeaders();
QString problemHeader();
QString refused(int problems);
QString send();
QString ready();
QString waiting();
QString sending();
QString programmed();
QString failed();
QString cancelled();
QString recordRefused();
QString busy();
QString sendingUnit(const QString &unit, const QString &port);
QString unitProgrammed(const QString &unit);
QString allProgrammed();
QString unitFailed(const QString &unit, const QString &reason);

} // namespace SeriesText

namespace CompareText {

QString menuEntry();
QString chooseFile();
// The filter of "Open configuration".
QString settingsFileFilter();
QString windowTitle(const QString &fileName);
QString fileLine(const QString &path);
QStringList recordHeaders();
QStringList storedHeaders();
QString recordCaption();
QString storedCaption();
QString noDifferences();
QString summary(int recordFields, int storedValues);
QString compareAgain();
QString close();

} // namespace CompareText
