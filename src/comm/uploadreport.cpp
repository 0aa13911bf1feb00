#include "comm/uploadreport.h"

#include "l10n/runtimelanguage.h"


namespace UploadOutcome {

UploadLog::Outcome forSession(UploadSession::Outcome outcome, bool stoppedByUser)
{
    using O = UploadSession::Outcome;
    if (stoppedByUser && outcome != O::Success)
        return UploadLog::Outcome::Cancelled;
    switch (outcome) {
    case O::Success:
        return UploadLog::Outcome::Success;
    case O::NoAnswer:
        return UploadLog::Outcome::NoAnswer;
    case O::PortOpenFailed:
        return UploadLog::Outcome::PortOpenFailed;
    case O::WrongVersion:
        return UploadLog::Outcome::WrongVersion;
    case O::IncompleteTransfer:
        return UploadLog::Outcome::IncompleteTransfer;
    case O::PortLost:
        return UploadLog::Outcome::PortLost;
    }
    return UploadLog::Outcome::NoAnswer;
}

int exitStatus(UploadLog::Outcome outcome)
{
    using O = UploadLog::Outcome;
    switch (outcome) {
    case O::Success:
        return 0;
    case O::PortOpenFailed:
        return 4;
    case O::NoAnswer:
        return 5;
    case O::WrongVersion:
        return 6;
    case O::IncompleteTransfer:
        return 7;
    case O::PortLost:
        return 8;
    case O::Cancelled:
        return 130;
    }
    return 5;
}

QString logNotWrittenText(const QString &reason)
{
    return textForLanguage({ QStringLiteral("Hinweis: Das Sendeprotokoll kann nicht geschrieben werden (%1). "
                                            "Gesendet wird trotzdem."),
                               QStringLiteral("Note: the upload log cannot be written (%1). Uploads go on all "
                                              "the same."),
                               QStringLiteral("Remarque : le journal des envois ne peut pas être écrit (%1). "
                                              "Les envois continuent quand même.") })
        .arg(reason);
}

} // namespace UploadOutcome
