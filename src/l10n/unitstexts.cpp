#include "l10n/unitstexts.h"

#include "core/configurationmodel.h"

#include <QDir>

namespace {

using Kind = UnitsProblem::Kind;
using Rule = UnitsProblem::Rule;
using Access = UnitsProblem::Access;

// French sets a blank before a colon and a semicolon.
QString colon(const Language &language)
{
    return LanguageTexts { ": ", ": ", " : " }.in(language);
}

QString semicolon(const Language &language)
{
    return LanguageTexts { "; ", "; ", " ; " }.in(language);
}

QString quoted(const Language &language, const QString &text)
{
    return LanguageTexts { QStringLiteral("„%1“"), QStringLiteral("\"%1\""), QStringLiteral("« %1 »") }
        .in(language)
        .arg(text);
}

// Where the problem lies: "Line 4, column 3 (frm1/txtsim)", "Line 4", or nothing for the whole file.
QString place(const UnitsProblem &problem, const Language &language)
{
    if (problem.line <= 0)
        return QString();
    if (problem.column <= 0)
        return LanguageTexts { "Zeile %1", "Line %1", "Ligne %1" }.in(language).arg(problem.line);
    const QString name = problem.columnName.isEmpty()
        ? LanguageTexts { "ohne Namen", "no name", "sans nom" }.in(language)
        : problem.columnName;
    return LanguageTexts { "Zeile %1, Spalte %2 (%3)", "Line %1, column %2 (%3)",
        "Ligne %1, colonne %2 (%3)" }
        .in(language)
        .arg(problem.line)
        .arg(problem.column)
        .arg(name);
}

QString unreadableText(const UnitsProblem &problem, const Language &language)
{
    const QString file = QDir::toNativeSeparators(problem.value);
    switch (problem.access) {
    case Access::Missing:
        return LanguageTexts { "Die Einheitendatei %1 gibt es nicht.", "The units file %1 does not exist.",
            "Le fichier d'unités %1 n'existe pas." }
            .in(language)
            .arg(file);
    case Access::NotAFile:
        return LanguageTexts { "%1 ist keine gewöhnliche Datei und wird nicht gelesen.",
            "%1 is not a regular file and is not read.",
            "%1 n'est pas un fichier ordinaire et n'est pas lu." }
            .in(language)
            .arg(file);
    case Access::TooLarge:
        return LanguageTexts { "Die Einheitendatei %1 ist größer als 1 MB.",
            "The units file %1 is larger than 1 MB.", "Le fichier d'unités %1 dépasse 1 Mo." }
            .in(language)
            .arg(file);
    case Access::None:
    case Access::ReadFailed:
        break;
    }
    return LanguageTexts { "Die Einheitendatei %1 kann nicht gelesen werden: %2",
        "The units file %1 cannot be read: %2", "Le fichier d'unités %1 ne peut pas être lu : %2" }
        .in(language)
        .arg(file, problem.detail);
}

// What the filter of a field takes, where it can be said in a few words.
QString filterTakes(KeyFilter filter, const Language &language)
{
    switch (filter) {
    case KeyFilter::Digits:
        return LanguageTexts { "das Feld nimmt nur Ziffern", "the field takes digits only",
            "le champ n'accepte que des chiffres" }
            .in(language);
    case KeyFilter::PhoneNumber:
        return LanguageTexts { "das Feld nimmt nur Ziffern und +", "the field takes digits and + only",
            "le champ n'accepte que des chiffres et +" }
            .in(language);
    case KeyFilter::Letters:
        return LanguageTexts { "das Feld nimmt nur die Buchstaben A–Z und a–z und Leerzeichen",
            "the field takes the letters A–Z and a–z and blanks only",
            "le champ n'accepte que les lettres A–Z et a–z et des espaces" }
            .in(language);
    case KeyFilter::PlainText:
        return LanguageTexts { "das Feld nimmt nur die Buchstaben A–Z und a–z, Ziffern, = und Leerzeichen",
            "the field takes the letters A–Z and a–z, digits, = and blanks only",
            "le champ n'accepte que les lettres A–Z et a–z, des chiffres, = et des espaces" }
            .in(language);
    case KeyFilter::SmsText:
        return LanguageTexts { "das Feld nimmt keine Umlaute, kein @, >, [, ], \\, ^, _, ` und nichts nach z",
            "the field takes no umlauts, no @, >, [, ], \\, ^, _, ` and nothing after z",
            "le champ n'accepte ni trémas, ni @, >, [, ], \\, ^, _, ` ni rien après z" }
            .in(language);
    case KeyFilter::None:
        break;
    }
    return QString();
}

QString characterText(const UnitsProblem &problem, const Language &language, const ConfigField *field)
{
    if (problem.detail.isEmpty())
        return LanguageTexts { "das Feld würde den Wert ändern", "the field would change the value",
            "le champ modifierait la valeur" }
            .in(language);
    const QChar c = problem.detail.at(0);
    QString refused;
    if (c == u'\n' || c == u'\r') {
        refused = LanguageTexts { "ein Textfeld nimmt keinen Zeilenumbruch",
            "a text field takes no line break", "un champ de texte n'accepte pas de saut de ligne" }
                      .in(language);
    } else if (c.category() == QChar::Other_Control) {
        refused = LanguageTexts { "ein Textfeld nimmt kein Steuerzeichen (U+%1)",
            "a text field takes no control character (U+%1)",
            "un champ de texte n'accepte pas de caractère de contrôle (U+%1)" }
                      .in(language)
                      .arg(c.unicode(), 4, 16, QChar(u'0'));
    } else if (!field || field->rule.filter == KeyFilter::None) {
        refused
            = LanguageTexts { "%1 kann nicht an das Modul gesendet werden (kein Zeichen von Windows-1252)",
                  "%1 cannot be sent to the module (no character of Windows-1252)",
                  "%1 ne peut pas être envoyé au module (aucun caractère de Windows-1252)" }
                  .in(language)
                  .arg(quoted(language, problem.detail));
    } else {
        refused = LanguageTexts { "das Zeichen %1 nimmt das Feld nicht",
            "the field does not take the character %1", "le champ n'accepte pas le caractère %1" }
                      .in(language)
                      .arg(quoted(language, problem.detail));
        const QString takes = filterTakes(field->rule.filter, language);
        if (!takes.isEmpty())
            refused += semicolon(language) + takes;
    }
    return refused;
}

// What a check box, an option button or a list takes.
QString stateRange(const ConfigField *field, const Language &language)
{
    const ValueKind kind = field ? field->kind : ValueKind::Check;
    switch (kind) {
    case ValueKind::Check:
        return LanguageTexts { "ein Kontrollkästchen nimmt 0 (aus), 1 (an) oder 2 (grau)",
            "a check box takes 0 (cleared), 1 (ticked) or 2 (greyed)",
            "une case à cocher accepte 0 (non cochée), 1 (cochée) ou 2 (grisée)" }
            .in(language);
    case ValueKind::Option:
    case ValueKind::Tab:
        return LanguageTexts { "ein Optionsfeld nimmt -1 (gewählt) oder 0 (nicht gewählt)",
            "an option button takes -1 (selected) or 0 (not selected)",
            "un bouton d'option accepte -1 (sélectionné) ou 0 (non sélectionné)" }
            .in(language);
    case ValueKind::List:
        return LanguageTexts { "die Liste nimmt die Nummer eines Eintrags von 0 bis %1",
            "the list takes the number of an entry from 0 to %1",
            "la liste accepte le numéro d'une entrée de 0 à %1" }
            .in(language)
            .arg(field->entries - 1);
    case ValueKind::Text:
        break;
    }
    return QString();
}

QString ruleText(const UnitsProblem &problem, const Language &language)
{
    const auto fields = configurationFields();
    const ConfigField *field = problem.field >= 0 && size_t(problem.field) < fields.size()
        ? &fields[size_t(problem.field)]
        : nullptr;
    switch (problem.rule) {
    case Rule::Character:
        return characterText(problem, language, field);
    case Rule::TooLong:
        return LanguageTexts { "das Feld nimmt höchstens %1 Zeichen, die Zelle hat %2",
            "the field takes at most %1 characters, the cell has %2",
            "le champ accepte au plus %1 caractères, la cellule en a %2" }
            .in(language)
            .arg(problem.detail)
            .arg(problem.value.size());
    case Rule::TooShort:
        return LanguageTexts { "das Feld verlangt mindestens %1 Zeichen, die Zelle hat %2",
            "the field needs at least %1 characters, the cell has %2",
            "le champ exige au moins %1 caractères, la cellule en a %2" }
            .in(language)
            .arg(problem.detail)
            .arg(problem.value.size());
    case Rule::Limit:
        return LanguageTexts {
            "ein Grenzwert liegt zwischen 0 und 100; beim Verlassen würde das Feld %1 daraus machen",
            "a limit lies between 0 and 100; leaving the field would make it %1",
            "une limite est comprise entre 0 et 100 ; en quittant le champ, elle deviendrait %1"
        }
            .in(language)
            .arg(quoted(language, problem.detail));
    case Rule::NotANumber:
        return LanguageTexts { "keine ganze Zahl", "not a whole number", "pas un nombre entier" }.in(language)
            + semicolon(language) + stateRange(field, language);
    case Rule::OutOfRange:
        return stateRange(field, language);
    case Rule::GroupTaken:
        return LanguageTexts { "die Zeile wählt schon %1 derselben Gruppe",
            "the row already selects %1 of the same group", "la ligne sélectionne déjà %1 du même groupe" }
            .in(language)
            .arg(problem.detail);
    case Rule::None:
        break;
    }
    return QString();
}

QString whatText(const UnitsProblem &problem, const Language &language)
{
    switch (problem.kind) {
    case Kind::Unreadable:
    case Kind::Empty:
        break;
    case Kind::NoUnitColumn:
        return LanguageTexts { "die Kopfzeile hat keine Spalte „unit“ für die Namen der Einheiten",
            "the header has no column \"unit\" for the names of the units",
            "l'en-tête n'a pas de colonne « unit » pour les noms des unités" }
            .in(language);
    case Kind::UnknownColumn:
        return LanguageTexts {
            "keine bekannte Spalte; es gibt unit, port und die Einstellungen als Seite/Schlüssel "
            "wie in der Einstellungsdatei (frm1/txtsim)",
            "no known column; there are unit, port and the settings as page/key as in the settings file "
            "(frm1/txtsim)",
            "colonne inconnue ; il y a unit, port et les réglages en page/clé comme dans le fichier de "
            "réglages "
            "(frm1/txtsim)"
        }
            .in(language);
    case Kind::DuplicateColumn:
        return LanguageTexts { "dieselbe Spalte wie Spalte %1", "the same column as column %1",
            "la même colonne que la colonne %1" }
            .in(language)
            .arg(problem.first);
    case Kind::UnclosedQuote:
        return LanguageTexts { "das Anführungszeichen wird bis zum Ende der Datei nicht geschlossen",
            "the quote is not closed before the end of the file",
            "le guillemet n'est pas fermé avant la fin du fichier" }
            .in(language);
    case Kind::WrongCellCount:
        return QString(
            (problem.count == 1 ? LanguageTexts { "die Zeile hat eine Zelle, die Kopfzeile nennt %2 Spalten",
                 "the row has one cell, the header names %2 columns",
                 "la ligne a une cellule, l'en-tête nomme %2 colonnes" }
                    : problem.expected == 1
                    ? LanguageTexts { "die Zeile hat %1 Zellen, die Kopfzeile nennt eine Spalte",
                        "the row has %1 cells, the header names one column",
                        "la ligne a %1 cellules, l'en-tête nomme une colonne" }
                    : LanguageTexts { "die Zeile hat %1 Zellen, die Kopfzeile nennt %2 Spalten",
                        "the row has %1 cells, the header names %2 columns",
                        "la ligne a %1 cellules, l'en-tête nomme %2 colonnes" })
                .in(language))
            .replace(QStringLiteral("%1"), QString::number(problem.count))
            .replace(QStringLiteral("%2"), QString::number(problem.expected));
    case Kind::EmptyUnit:
        return LanguageTexts { "die Zeile nennt keine Einheit", "the row names no unit",
            "la ligne ne nomme aucune unité" }
            .in(language);
    case Kind::DuplicateUnit:
        return LanguageTexts { "die Einheit %1 steht schon in Zeile %2",
            "the unit %1 is already named in line %2", "l'unité %1 figure déjà à la ligne %2" }
            .in(language)
            .arg(quoted(language, problem.value))
            .arg(problem.first);
    case Kind::ValueRefused:
        return quoted(language, problem.value) + QStringLiteral(" — ") + ruleText(problem, language);
    }
    return QString();
}

} // namespace

QString unitsProblemText(const UnitsProblem &problem, const Language &language)
{
    if (problem.kind == Kind::Unreadable)
        return unreadableText(problem, language);
    if (problem.kind == Kind::Empty)
        return LanguageTexts { "Die Einheitendatei ist leer: es fehlt die Kopfzeile mit den Spalten.",
            "The units file is empty: the header line naming the columns is missing.",
            "Le fichier d'unités est vide : la ligne d'en-tête nommant les colonnes manque." }
            .in(language);
    const QString where = place(problem, language);
    const QString what = whatText(problem, language);
    return where.isEmpty() ? what : where + colon(language) + what;
}

QString unitsProblemText(const UnitsProblem &problem)
{
    const QString code = ConfigurationModel::program().configuration().value(u"frm1", u"language");
    return unitsProblemText(problem, runtimeLanguage(languageCodeFromText(code)));
}
