#pragma once

#include "l10n/language.h"

#include <QString>
#include <QStringView>
#include <array>
#include <span>

// What an entry of the caption table writes into its control.
enum class CaptionProperty {
    Caption, // label, check box, option button, frame or button text
    ToolTipText, // tool tip (also the words of the message overlay)
    Text, // text of a read-only text box that serves as a label
    HelpFile // the application help file; the entry names no window and no control
};

// One entry of the caption table: the same control gets the text of the language in force.
struct CaptionEntry
{
    QStringView window; // "frmStart", "frm1" ... "frm9"; empty for the help file
    QStringView control; // control name; empty for the help file
    int index = -1; // member index of a control array, -1 for a single control
    CaptionProperty property = CaptionProperty::Caption;
    std::array<QStringView, kLanguageCount> texts; // one column per language, in the order of kLanguages

    // The text for a language code; a null string for a code outside the list, which applies no entry.
    QString text(int languageCode) const;

    bool isHelpFile() const { return property == CaptionProperty::HelpFile; }

    // "name" for a single control, "name(index)" for an array member, as the settings file writes it.
    QString controlKey() const;
};

// The whole table in the order it is applied: the help file, the start window, then frm1 ... frm9.
// Texts are kept exactly, leading and trailing blanks included.
std::span<const CaptionEntry> captionTable();
