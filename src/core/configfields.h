#pragma once

#include "core/fieldrule.h"

#include <QString>
#include <QStringList>
#include <QStringView>
#include <span>

// What a stored value is, as the settings file keeps it.
enum class ValueKind {
    Text, // a text field: its text
    List, // a list: the selected index, -1 for none
    Check, // a check box: 0 cleared, 1 ticked, 2 greyed
    Option, // an option button: "-1" selected, "0" not; one of its group is selected
    Tab // a tab of a page's tab strip, stored as an option button; it never stays selected
};

// One stored value of a configuration page: where the settings file keeps it (section = the page, key = the
// control's name, with "(index)" for a member of a control array), what kind it is, its design value in the
// stored form, and the rules a value must pass.
struct ConfigField
{
    const char16_t *section;
    const char16_t *name;
    int index; // member index of a control array, -1 for a single control
    ValueKind kind;
    const char16_t *design; // the stored form: text, "0"/"1"/"2", "-1"/"0"
    FieldRule rule; // text fields: what a text may be
    int group; // option buttons: the group on the page in which exactly one is selected; -1 none
    bool enabledByDesign; // whether the control takes input before any rule changes that
    int entries = 0; // lists: the number of entries

    QString key() const; // "txtFon1(5)", "txtsim"
    QString settingsKey() const; // "frm1/txtFon1(5)"
};

// Every stored value of the eight configuration pages, in the order a save writes them: frm1 … frm7, frm9,
// and within a page in the order the page defines its controls.
std::span<const ConfigField> configurationFields();

// The position of a value in configurationFields(), -1 when no page stores it. Section and key compare without
// case, as the settings file reads them.
int configurationFieldIndex(QStringView section, QStringView key);
int configurationFieldIndex(QStringView section, QStringView name, int index);

// The configuration pages in the order a save writes them.
QStringList configurationSections();
