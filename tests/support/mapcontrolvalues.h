#pragma once

#include "core/controlvalues.h"

#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>

// Control values held in a plain table, starting from the design values of every control the record
// builders read, so a test can describe "every page at its defaults" plus a few changes without any window.
// Names are matched without regard to case, as the windows match them.
class MapControlValues : public ControlValues
{
public:
    MapControlValues(); // every page at its design values

    QString text(const QString &form, const QString &control, int index = -1) const override;
    int state(const QString &form, const QString &control, int index = -1) const override;

    // Sets a check box state (0, 1, 2) or an option button (1 selected, 0 not); adds the control if unknown.
    // Selecting an option button does not clear the others of its group: set them too.
    void set(const QString &form, const QString &control, int index, int state);
    void setText(const QString &form, const QString &control, int index, const QString &text);

    // Every control that was read but is neither a design-time control nor set by the test, as
    // "form.control(index)": a misspelt name shows up here instead of reading as empty.
    QStringList unknownReads() const;

private:
    static QString key(const QString &form, const QString &control, int index);

    QHash<QString, QString> m_texts;
    QHash<QString, int> m_states;
    mutable QSet<QString> m_unknownReads;
};
