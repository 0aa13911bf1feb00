#include "l10n/captiontable.h"

namespace {

using enum CaptionProperty;

// The help file of each language, as the language list names it.
constexpr std::array<QStringView, kLanguageCount> helpFileColumn()
{
    std::array<QStringView, kLanguageCount> files {};
    for (std::size_t i = 0; i < kLanguageCount; ++i)
        files[i] = kLanguages[i].helpFile;
    return files;
}

// Applied top to bottom. Several controls appear twice (a caption and a tool tip), and the event pages
// repeat texts on purpose: each entry is one write into one control.
constexpr CaptionEntry kCaptionTable[] = {
    // Help file
    { u"", u"", -1, HelpFile, helpFileColumn() },
    // Start window (frmStart)
    { u"frmStart", u"nPaneltit", 0, Caption, u"GSM-Modul  RM425T", u"GSM-Module  RM425T",
        u"GSM-Modul  RM425T" },
    { u"frmStart", u"Check", 1, Caption, u"Allgemeine Einstellungen", u"General Settings",
        u"Réglages principaux" },
    { u"frmStart", u"Check", 2, Caption, u"2 Eingänge T1/T2", u"2 Inputs T1/T2", u"2 entrées T1/T2" },
    { u"frmStart", u"Check", 3, Caption, u"2 Optokoppler Eingänge", u"2 Optocoupler Inputs",
        u"2 entrées optocoupleur" },
    { u"frmStart", u"Check", 4, Caption, u"4 SMS Ausgänge", u"4 SMS Outputs", u"4 entrées SMS" },
    { u"frmStart", u"Check", 5, Caption, u"1 ADC Eingang", u"1 ADC Input", u"1 entrée ADC" },
    { u"frmStart", u"Check", 6, Caption, u"1 PWM Ausgang", u"1 PWM Output", u"1 sortie PWM" },
    { u"frmStart", u"Check", 7, Caption, u"1 Incall Ausgang", u"1 Incall Output", u"1 sortie Incall" },
    { u"frmStart", u"Check", 8, Caption, u"Kommunikation", u"Communication", u"communication" },
    { u"frmStart", u"Check", 9, Caption, u"Rückantwort / Fehler", u"Reply / Error",
        u"réponse / message d'erreur" },
    { u"frmStart", u"Check", 10, Caption, u"Beenden", u"End", u"terminer" },
    { u"frmStart", u"Check", 11, Caption, u"Abbrechen", u"Cancel", u"interrompre" },
    { u"frmStart", u"Check", 11, ToolTipText, u"  Beenden ohne zu speichern !  ",
        u"  close without saving data !  ", u"  terminer sans mémoriser !  " },
    { u"frmStart", u"Check", 12, Caption, u"Info", u"Info", u"Info" },
    { u"frmStart", u"Check", 13, Caption, u"Hilfe", u"Help", u"Aide" },
    { u"frmStart", u"Check", 14, Caption, u"Speichern", u"Save", u"Mémoriser" },
    { u"frmStart", u"Check", 15, Caption, u"OK", u"OK", u"OK" },
    { u"frmStart", u"Check", 16, Caption, u"D/E/F", u"D/E/F", u"D/E/F" },
    // General settings (frm1)
    { u"frm1", u"Label1", 1, Caption, u"Passwort :", u"Password :", u"Mot de passe :" },
    { u"frm1", u"Label1", 2, Caption, u"Mailnummer :", u"Mailnumber :", u"Mail N° :" },
    { u"frm1", u"Label1", 3, Caption, u"Nummer :", u"Number :", u"N° :" },
    { u"frm1", u"Label1", 4, Caption, u"Name :", u"Name :", u"Nom :" },
    { u"frm1", u"Label1", 5, Caption, u"Name :", u"Name :", u"Nom :" },
    { u"frm1", u"Label1", 6, Caption, u"Faxnummer :", u"Faxnumber :", u"N° Fax :" },
    { u"frm1", u"Label1", 7, Caption, u"Fax- Vorwahl :", u"Fax- prefix :", u"Préfixe du Fax :" },
    { u"frm1", u"Label1", 8, Caption, u"E-Mail Adresse :", u"E-Mail address :", u"Adresse mail :" },
    { u"frm1", u"Label1", 9, Caption, u"Gerätebezeichnung :", u"Name of unit :",
        u"Désignation de l'appareil :" },
    { u"frm1", u"Label1", 10, Caption, u"Name :", u"Name :", u"Nom :" },
    { u"frm1", u"lbl2", 1, Caption, u"EMAIL senden an :", u"EMAIL send to :", u"envoyer un mail à :" },
    { u"frm1", u"optAnb", 0, Caption, u"Andere Anbieter", u"Other Providers", u"Autres fournisseurs" },
    { u"frm1", u"txtsim", -1, ToolTipText, u"  vierstellige Pin eintragen  ", u"  enter 4 digit PIN  ",
        u"  entrer 4 caractéres le code Pin " },
    { u"frm1", u"txtPsw1", -1, ToolTipText, u"  Für alle Tel.Nummer gültiges Passwort setzen  ",
        u"  set a valid password for all telephone numbers  ",
        u"  indiquez un code valide pour tous les n° de tél  " },
    { u"frm1", u"txtbez", -1, ToolTipText, u"  Gerätebezeichnung  ", u"  name of unit  ",
        u"  Désignation de l'appareil  " },
    { u"frm1", u"txtAnr", -1, ToolTipText, u"  Nummer eingeben, sonst wird D1 ausgewählt  ",
        u"  enter a number, otherwise D1 will be selected  ", u"  entrer un numéro, sinon D1 par défaut  " },
    { u"frm1", u"txtFAxPref", -1, ToolTipText, u"  Nummer eingeben, sonst wird D1 ausgewählt  ",
        u"  enter a number, otherwise D1 will be selected  ", u"  entrer un numéro, sinon D1 par défaut  " },
    // Inputs T1/T2 (frm2)
    { u"frm2", u"chk2", 1, Caption, u"Belegt", u"Used", u"activé" },
    { u"frm2", u"chk2", 2, Caption, u" Belegt", u" Used", u" activé" },
    { u"frm2", u"Label3", 0, Caption, u"Meldung wenn der Eingang", u"Message ", u"message pour" },
    { u"frm2", u"Label3", 2, Caption, u"Meldung wenn der Eingang", u"Message ", u"message pour" },
    { u"frm2", u"Label3", 1, Caption, u" den Grenzwert (%) :", u" Limit (%) :", u" seuil (%) :" },
    { u"frm2", u"Label3", 3, Caption, u" den Grenzwert (%) :", u" Limit (%) :", u" seuil (%) :" },
    { u"frm2", u"OptO", 1, Caption, u" überschreitet", u" if input is higher", u" si entrée supérieure" },
    { u"frm2", u"OptO", 2, Caption, u" überschreitet", u" if input is higher", u" si entrée supérieure" },
    { u"frm2", u"OptU", 1, Caption, u" unterschreitet", u" if input is lower", u" si entrée inférieure" },
    { u"frm2", u"OptU", 2, Caption, u" unterschreitet", u" if input is lower", u" si entrée inférieure" },
    { u"frm2", u"Label2", 19, Caption, u"Meldung", u"Message", u"signalisation" },
    { u"frm2", u"Label2", 18, Caption, u"an alle", u" to all", u"à tous" },
    { u"frm2", u"Label2", 14, Caption, u"oder an", u" or to", u"ou à" },
    { u"frm2", u"chksms1", 0, ToolTipText, u"  alle auswählen  ", u"  select all  ",
        u"  tout sélectionner  " },
    { u"frm2", u"chkfax1", 0, ToolTipText, u"  alle auswählen  ", u"  select all  ",
        u"  tout sélectionner  " },
    { u"frm2", u"chkmail1", 0, ToolTipText, u"  alle auswählen  ", u"  select all  ",
        u"  tout sélectionner  " },
    // Optocoupler inputs (frm3)
    { u"frm3", u"Opt", 1, Caption, u"Eingang  1", u"Input  1", u"entrée  1" },
    { u"frm3", u"Opt", 2, Caption, u"Eingang  2", u"Input  2", u"entrée  2" },
    { u"frm3", u"chk3", 1, Caption, u"Belegt", u"Used", u"activé" },
    { u"frm3", u"chk3", 2, Caption, u"Belegt", u"Used", u"activé" },
    { u"frm3", u"Label2", 1, Caption, u"Meldetext :", u"Message :", u"texte du message :" },
    { u"frm3", u"Label3", 1, Caption, u"Meldung wenn Eingang", u"Message if input is", u"Message si entrée" },
    { u"frm3", u"Label3", 2, Caption, u"Meldung wenn Eingang", u"Message if input is", u"Message si entrée" },
    { u"frm3", u"Meldung", 14, Caption, u"Meldung", u"Message", u"Message" },
    { u"frm3", u"Label2", 15, Caption, u"an alle", u"to all", u"à tous" },
    { u"frm3", u"chksms1", 0, ToolTipText, u"  alle auswählen  ", u"  select all  ",
        u"  tout sélectionner  " },
    { u"frm3", u"chkfax1", 0, ToolTipText, u"  alle auswählen  ", u"  select all  ",
        u"  tout sélectionner  " },
    { u"frm3", u"chkmail1", 0, ToolTipText, u"  alle auswählen  ", u"  select all  ",
        u"  tout sélectionner  " },
    { u"frm3", u"Label2", 9, Caption, u"oder an", u"or to", u"ou à" },
    { u"frm3", u"Label2", 3, Caption, u"Meldetext :", u"Message :", u"texte du message :" },
    // SMS outputs (frm4)
    { u"frm4", u"opt", 1, Caption, u"Ausgang  1", u"Output  1", u"Sortie  1" },
    { u"frm4", u"opt", 2, Caption, u"Ausgang  2", u"Output  2", u"Sortie  2" },
    { u"frm4", u"opt", 3, Caption, u"Ausgang  3", u"Output  3", u"Sortie  3" },
    { u"frm4", u"opt", 4, Caption, u"Ausgang  4", u"Output  4", u"Sortie  4" },
    { u"frm4", u"chk4", 1, Caption, u"Belegt", u"Used", u"activé" },
    { u"frm4", u"chk4", 2, Caption, u"Belegt", u"Used", u"activé" },
    { u"frm4", u"chk4", 3, Caption, u"Belegt", u"Used", u"activé" },
    { u"frm4", u"chk4", 4, Caption, u"Belegt", u"Used", u"activé" },
    { u"frm4", u"Label1", 0, Caption, u"Meldetext :", u"Message :", u"texte du message :" },
    { u"frm4", u"Label1", 12, Caption, u"Meldetext :", u"Message :", u"texte du message :" },
    { u"frm4", u"Label1", 16, Caption, u"Meldetext :", u"Message :", u"texte du message :" },
    { u"frm4", u"Label1", 8, Caption, u"Meldetext :", u"Message :", u"texte du message :" },
    { u"frm4", u"txtSMS", 1, ToolTipText, u" Text muss 8 Zeichen haben (keine Sonderzeichen erlaubt) ",
        u" text must have 8 characters (no special characters allowed) ",
        u" le texte doit comporter 8 caractères (pas de signes spéciaux) " },
    { u"frm4", u"txtSMS", 2, ToolTipText, u" Text muss 8 Zeichen haben (keine Sonderzeichen erlaubt) ",
        u" text must have 8 characters (no special characters allowed) ",
        u" le texte doit comporter 8 caractères (pas de signes spéciaux) " },
    { u"frm4", u"txtSMS", 3, ToolTipText, u" Text muss 8 Zeichen haben (keine Sonderzeichen erlaubt) ",
        u" text must have 8 characters (no special characters allowed) ",
        u" le texte doit comporter 8 caractères (pas de signes spéciaux) " },
    { u"frm4", u"txtSMS", 4, ToolTipText, u" Text muss 8 Zeichen haben (keine Sonderzeichen erlaubt) ",
        u" text must have 8 characters (no special characters allowed) ",
        u" le texte doit comporter 8 caractères (pas de signes spéciaux) " },
    { u"frm4", u"Label1", 1, Caption, u"Meldetext muss lauten: ", u"The message text must be: ",
        u"le message doit être: " },
    { u"frm4", u"Label1", 15, Caption, u"Meldetext muss lauten: ", u"The message text must be: ",
        u"le message doit être: " },
    { u"frm4", u"Label1", 19, Caption, u"Meldetext muss lauten: ", u"The message text must be: ",
        u"le message doit être: " },
    { u"frm4", u"Label1", 24, Caption, u"Meldetext muss lauten: ", u"The message text must be: ",
        u"le message doit être: " },
    { u"frm4", u"lbltext", 1, Caption, u" für Ein", u" for On", u" pour On" },
    { u"frm4", u"lbltext", 10, Caption, u" für Ein", u" for On", u" pour On" },
    { u"frm4", u"lbltext", 13, Caption, u" für Ein", u" for On", u" pour On" },
    { u"frm4", u"lbltext", 14, Caption, u" für Ein", u" for On", u" pour On" },
    { u"frm4", u"lbltext", 5, Caption, u" für Aus", u" for Off", u" pour Off" },
    { u"frm4", u"lbltext", 6, Caption, u" für Aus", u" for Off", u" pour Off" },
    { u"frm4", u"lbltext", 8, Caption, u" für Aus", u" for Off", u" pour Off" },
    { u"frm4", u"lbltext", 9, Caption, u" für Aus", u" for Off", u" pour Off" },
    { u"frm4", u"lbltext", 0, Caption, u"* steht für Leer-Zeichen", u"* stands for empty character",
        u"* pour un espace" },
    { u"frm4", u"lbltext", 7, Caption, u"* steht für Leer-Zeichen", u"* stands for empty character",
        u"* pour un espace" },
    { u"frm4", u"lbltext", 11, Caption, u"* steht für Leer-Zeichen", u"* stands for empty character",
        u"* pour un espace" },
    { u"frm4", u"lbltext", 12, Caption, u"* steht für Leer-Zeichen", u"* stands for empty character",
        u"* pour un espace" },
    { u"frm4", u"Label1", 6, Caption, u"Gesendet von jedem", u"Sent from everyone", u"envoyé de chaque" },
    { u"frm4", u"Label1", 4, Caption, u" oder gesendet", u" or sent", u" ou émission" },
    { u"frm4", u"chksms1", 0, Caption, u" von allen", u" from all", u" de tous" },
    { u"frm4", u"Label1", 5, Caption, u"oder von", u"or from", u"ou de" },
    { u"frm4", u"chksms1", 0, ToolTipText, u"  alle auswählen  ", u"  select all  ",
        u"  tout sélectionner  " },
    { u"frm4", u"chkmail1", 0, ToolTipText, u"  alle auswählen  ", u"  select all  ",
        u"  tout sélectionner  " },
    { u"frm4", u"chkPsw4", -1, Caption, u" bei Passwort immer schalten",
        u" switch always if password is sent", u" si code valide toujours commuter" },
    { u"frm4", u"chkAnt4", -1, Caption, u" Rückantwort", u" Reply", u" réponse" },
    // ADC input (frm5)
    { u"frm5", u"Opt", 1, Caption, u"ADC Eingang", u"ADC Input", u"Entrée ADC" },
    { u"frm5", u"chk5", -1, Caption, u"Belegt", u"Used", u"activé" },
    { u"frm5", u"Label2", 1, Caption, u"Meldetext :", u"Message :", u"texte du message :" },
    { u"frm5", u"Label3", 0, Caption, u"Meldung wenn der Eingang ", u"Message", u"message si entrée " },
    { u"frm5", u"Label3", 1, Caption, u" den Grenzwert (%) :", u" Limit (%) :", u" le seuil (%) :" },
    { u"frm5", u"txtwert", -1, ToolTipText, u" Wert zwischen 0 und 100 % eingeben ",
        u" enter value between 0 and 100 % ", u" entrer une valeur de 0 à 100% " },
    { u"frm5", u"OptO", -1, Caption, u" überschreitet", u" if input is higher", u" est supérieur" },
    { u"frm5", u"OptU", -1, Caption, u" unterschreitet", u"  if input is lower", u" est inférieur" },
    { u"frm5", u"Label2", 0, Caption, u"Meldung", u"Message", u"signalisation" },
    { u"frm5", u"Label2", 2, Caption, u"an alle", u"to all", u"à tous" },
    { u"frm5", u"Label2", 8, Caption, u"oder an", u"or to", u"ou à" },
    { u"frm5", u"chksms1", 0, ToolTipText, u"  alle auswählen  ", u"  select all  ",
        u"  tout sélectionner  " },
    { u"frm5", u"chkfax1", 0, ToolTipText, u"  alle auswählen  ", u"  select all  ",
        u"  tout sélectionner  " },
    { u"frm5", u"chkmail1", 0, ToolTipText, u"  alle auswählen  ", u"  select all  ",
        u"  tout sélectionner  " },
    // PWM output (frm6)
    { u"frm6", u"opt", 1, Caption, u"PWM Ausgang", u"PWM Output", u"sortie PWM" },
    { u"frm6", u"chk6", -1, Caption, u"Belegt", u"Used", u"activé" },
    { u"frm6", u"Label1", 3, Caption, u"Meldetext muss lauten: ", u"The message text must be: ",
        u"le message doit être: " },
    { u"frm6", u"Label1", 4, Caption, u"bis zu", u"up to", u"jusqu'à" },
    { u"frm6", u"Label1", 0, Caption, u"Gesendet", u"Sent", u"émis" },
    { u"frm6", u"chksms1", 0, Caption, u" von allen ", u" from all ", u" de tous " },
    { u"frm6", u"chksms1", 0, ToolTipText, u"  alle auswählen  ", u"  select all  ",
        u"  tout sélectionner  " },
    { u"frm6", u"chkmail1", 0, ToolTipText, u"  alle auswählen  ", u"  select all  ",
        u"  tout sélectionner  " },
    { u"frm6", u"Label1", 5, Caption, u" oder von", u" or from", u" ou de" },
    { u"frm6", u"chkPsw6", -1, Caption, u"bei Passwort immer schalten", u"switch always if password is sent",
        u"avec un code valide toujours commuter" },
    { u"frm6", u"Label1", 1, ToolTipText, u" PWM- Wert zwischen 0 und 255 ",
        u" PWM- value between 0 and 255 ", u" valeur PWM entre 0 et 255 " },
    { u"frm6", u"Label1", 2, ToolTipText, u" PWM- Wert zwischen 0 und 255 ",
        u" PWM- value between 0 and 255 ", u" valeur PWM entre 0 et 255 " },
    // Incall output (frm7)
    { u"frm7", u"opt", 1, Caption, u"Zeitschaltung bei Anruf", u"Time-delay switch at call up",
        u"temporisation en cas d'appel" },
    { u"frm7", u"chk7", -1, Caption, u"Belegt", u"Used", u"activé" },
    { u"frm7", u"Frame1", 0, Caption, u" Ausgang einschalten für ", u" Switch on output for ",
        u" Commuter la sortie pour " },
    { u"frm7", u"chkPsw7", -1, Caption, u"Jeder darf anrufen", u"Everybody can call",
        u"chacun peut appeler" },
    { u"frm7", u"Label1", 0, Caption, u" oder angerufen", u" or called", u" ou appeler" },
    { u"frm7", u"Label1", 1, Caption, u" von allen", u" by all", u" de tous" },
    { u"frm7", u"Label1", 5, Caption, u" oder von", u" or from", u" ou de" },
    { u"frm7", u"chksms1", 0, ToolTipText, u"  alle auswählen  ", u"  select all  ",
        u"  tout sélectionner  " },
    // Communication (frm8)
    { u"frm8", u"cmd", -1, Caption, u"Senden", u"Send", u"émettre" },
    { u"frm8", u"cmd3", -1, Caption, u"SMS-Dienst", u"SMS-Service", u"service SMS" },
    { u"frm8", u"Label1", 0, Caption, u" Verfügbare COM :", u" Available COM :", u" port COM disponible :" },
    { u"frm8", u"Text4", -1, Text, u"Telefonnummer:", u"Telephone number:", u"numéro de téléphone:" },
    { u"frm8", u"cmdS", -1, Caption, u"Senden", u"Send", u"émettre" },
    { u"frm8", u"Label1", 1, Caption, u"Signalstärke :", u"Signal strength :", u"force du signal :" },
    { u"frm8", u"Text3", -1, Text, u"SMS-Text:", u"SMS-Text:", u"SMS-Texte:" },
    // Reply and error (frm9)
    { u"frm9", u"opt", 1, Caption, u"Rückantwort / Fehlermeldung", u"Reply / Error message",
        u"réponse / message d'erreur" },
    { u"frm9", u"Label1", 0, Caption, u"Meldetext :", u"Message :", u"texte du message :" },
    { u"frm9", u"txtZust", -1, ToolTipText, u" Text muss 8 Zeichen haben (keine Sonderzeichen erlaubt) ",
        u" text must have 8 characters (no special characters allowed) ",
        u" le texte doit comporter 8 caractères (pas de signes spéciaux) " },
    { u"frm9", u"Label2", 14, Caption, u"Gesendet", u"Sent", u"envoyé" },
    { u"frm9", u"Label2", 15, Caption, u" von allen", u" from all", u" de tous" },
    { u"frm9", u"Label2", 0, Caption, u" oder von", u" or from", u" ou de" },
    { u"frm9", u"chksms1", 0, ToolTipText, u"  alle auswählen  ", u"  select all  ",
        u"  tout sélectionner  " },
    { u"frm9", u"chkmail1", 0, ToolTipText, u"  alle auswählen  ", u"  select all  ",
        u"  tout sélectionner  " },
    { u"frm9", u"chkPsw9", -1, Caption, u"  bei Passwort immer antworten",
        u" reply always if password is sent", u"  avec un code valide toujours répondre" },
    { u"frm9", u"Label3", 0, Caption, u"Antwort erfolgt an die angerufene Nummer",
        u"Answer is given to the called number", u"la réponse après N° composé" },
    { u"frm9", u"chkAntw", -1, Caption, u"Fehlermeldung  bei falschem Befehl",
        u"Error message if command is wrong", u"message d'erreur avec une mauvaise commande" },
    { u"frm9", u"Label1", 1, Caption, u"Meldetext :", u"Message :", u"message :" },
    { u"frm9", u"txtErr", -1, ToolTipText, u" SMS- Inhalt bei falschem Befehl ",
        u" content of SMS if command is wrong", u" contenu SMS avec une mauvaise commande " },
};

// An entry written with a column too few would leave that language's text null; one too many does not
// compile.
constexpr bool everyEntryHasEveryLanguage()
{
    for (const CaptionEntry &entry : kCaptionTable) {
        for (QStringView text : entry.texts) {
            if (text.isNull())
                return false;
        }
    }
    return true;
}
static_assert(everyEntryHasEveryLanguage(), "a caption table entry misses a language");

} // namespace

QString CaptionEntry::text(int languageCode) const
{
    const Language *language = findLanguage(languageCode);
    return language ? texts[std::size_t(language->code)].toString() : QString();
}

QString CaptionEntry::controlKey() const
{
    if (index < 0)
        return control.toString();
    return QStringLiteral("%1(%2)").arg(control).arg(index);
}

std::span<const CaptionEntry> captionTable()
{
    return kCaptionTable;
}
