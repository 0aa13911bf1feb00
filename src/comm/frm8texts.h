#pragma once

#include <QString>

// The texts the communication page writes while it runs, each in the language in force at the moment it is
// asked for. Error texts start with the line "FEHLER:" / "ERROR:" / "ERREUR:".
namespace Frm8Text {

// The first line of every error text, with its line end.
QString errorHeader();

// Which function a search text announces.
enum class Function { Upload, Status, Sms };

// The first line names the function, the second ends with "-", the character the busy indicator turns.
QString searching(Function function);

QString noPort();
QString noAnswer();
// The selected port did not open, or went away while it was open.
QString portUnavailable(const QString &port);
// The port went away while the record was being sent: the module holds part of it.
QString portLostDuringTransfer(const QString &port);

QString wrongVersion();
QString transferring();
// Appended below transferring().
QString uploadDone();
QString incompleteTransfer();
// The record to be sent does not have the length the module expects; nothing was sent.
QString wrongRecordLength(int length);

QString interruptedUploadTitle();
QString interruptedUploadText();

QString smsMissing();
QString smsHandingOver();
QString smsSent();
QString smsNotSent();
// Caption of the send button: the characters the SMS text can still take.
QString smsSendCaption(int charactersLeft);

// The port exists, but the user may not open it: what to do about it.
QString portPermissionDenied(const QString &port);
// How the port list shows such a port.
QString noPermissionLabel(const QString &port);

} // namespace Frm8Text
