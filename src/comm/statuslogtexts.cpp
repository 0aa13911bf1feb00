#include "comm/statuslogtexts.h"

#include "l10n/runtimelanguage.h"

namespace StatusLogText {

namespace {

QString kindText(FileKind kind)
{
    switch (kind) {
    case FileKind::Directory:
        return textForLanguage(
            { QStringLiteral("ein Ordner"), QStringLiteral("a folder"), QStringLiteral("un dossier") });
    case FileKind::Fifo:
        return textForLanguage({ QStringLiteral("eine benannte Pipe"), QStringLiteral("a named pipe"),
            QStringLiteral("un tube nommé") });
    case FileKind::CharacterDevice:
    case FileKind::BlockDevice:
        return textForLanguage({ QStringLiteral("ein Terminal oder Gerät"),
            QStringLiteral("a terminal or device"), QStringLiteral("un terminal ou un périphérique") });
    case FileKind::Missing:
    case FileKind::Regular:
    case FileKind::Socket:
    case FileKind::Other:
        break;
    }
    return textForLanguage({ QStringLiteral("keine gewöhnliche Datei"), QStringLiteral("not a regular file"),
        QStringLiteral("pas un fichier ordinaire") });
}

} // namespace

QString notWritten(const QString &fileName, const StatusLog::Failure &failure)
{
    switch (failure.problem) {
    case StatusLog::Problem::NotAFile:
        return textForLanguage({ QStringLiteral("Hinweis: %1 ist %2 und wird nicht beschrieben !"),
                                   QStringLiteral("Note: %1 is %2 and is not written !"),
                                   QStringLiteral("Remarque: %1 est %2 et n'est pas écrit !") })
            .arg(fileName, kindText(failure.kind));
    case StatusLog::Problem::CannotWrite:
        return textForLanguage(
            { QStringLiteral("Hinweis: Schreiben in %1 fehlgeschlagen (%2), dort fehlen Meldungen !"),
                QStringLiteral("Note: writing %1 failed (%2), messages are missing from it !"),
                QStringLiteral("Remarque: écriture dans %1 impossible (%2), des messages y manquent !") })
            .arg(fileName, failure.reason);
    case StatusLog::Problem::None:
    case StatusLog::Problem::CannotOpen:
        break;
    }
    if (failure.reason.isEmpty()) {
        return textForLanguage({ QStringLiteral("Hinweis: %1 kann nicht geschrieben werden !"),
                                   QStringLiteral("Note: %1 cannot be written !"),
                                   QStringLiteral("Remarque: %1 ne peut pas être écrit !") })
            .arg(fileName);
    }
    return textForLanguage({ QStringLiteral("Hinweis: %1 kann nicht geschrieben werden (%2) !"),
                               QStringLiteral("Note: %1 cannot be written (%2) !"),
                               QStringLiteral("Remarque: %1 ne peut pas être écrit (%2) !") })
        .arg(fileName, failure.reason);
}

} // namespace StatusLogText
