#include "shell/recentstore.h"

#include "core/filekind.h"
#include "l10n/runtimelanguage.h"
#include "window/settingsfile.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

namespace RecentStore {

namespace {

const QString kKey = QStringLiteral("recentFiles");

// Why the store at the path may not be read or written; empty when it may.
QString refusal(const QString &path)
{
    const FileKind kind = fileKindOf(path);
    if (!isFileOrMissing(kind))
        return textForLanguage(
            { QStringLiteral("Das ist keine gewöhnliche Datei."), QStringLiteral("It is not a regular file."),
                QStringLiteral("Ce n'est pas un fichier ordinaire.") });
    if (kind == FileKind::Regular && QFileInfo(path).size() > kMaxSize)
        return textForLanguage({ QStringLiteral("Die Datei ist größer als 64 KB und wird nicht gelesen."),
            QStringLiteral("The file is larger than 64 KB and is not read."),
            QStringLiteral("Le fichier dépasse 64 Ko et n'est pas lu.") });
    return {};
}

} // namespace

QStringList files()
{
    const QString path = RecentStorePath();
    if (fileKindOf(path) == FileKind::Missing || !refusal(path).isEmpty())
        return {};
    const QSettings store(path, QSettings::IniFormat);
    return store.value(kKey).toStringList().mid(0, kCount);
}

bool remember(const QString &path, QString *reason)
{
    const QString storePath = RecentStorePath();
    QString why = refusal(storePath);
    if (why.isEmpty()) {
        QStringList list = files();
        list.removeAll(path);
        list.prepend(path);
        QDir().mkpath(QFileInfo(storePath).absolutePath());
        QSettings store(storePath, QSettings::IniFormat);
        store.setValue(kKey, list.mid(0, kCount));
        store.sync();
        if (store.status() == QSettings::NoError)
            return true;
        why = textForLanguage({ QStringLiteral("Die Datei kann nicht geschrieben werden."),
            QStringLiteral("The file cannot be written."),
            QStringLiteral("Le fichier ne peut pas être écrit.") });
    }
    if (reason) {
        *reason = textForLanguage(
            { QStringLiteral("Die Liste der zuletzt benutzten Konfigurationen kann nicht in „%1“ gespeichert "
                             "werden.\n\n%2"),
                QStringLiteral("The list of recently used configurations cannot be kept in \"%1\".\n\n%2"),
                QStringLiteral(
                    "La liste des configurations récentes ne peut pas être conservée dans « %1 ».\n\n%2") })
                      .arg(QDir::toNativeSeparators(storePath), why);
    }
    return false;
}

} // namespace RecentStore
