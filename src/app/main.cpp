#include "app/windowpart.h"
#include "cli/commandline.h"

#include <QByteArray>
#include <QDir>
#include <QFileInfo>
#include <QLibrary>
#include <QStringList>

#include <cstdio>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace {

QStringList argumentList(int argc, char *argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    return arguments;
}

// The folder of this executable, asked of the system (there is no application object yet).
QString programFolder(const char *argv0)
{
#ifdef Q_OS_WIN
    wchar_t path[32768];
    const DWORD length = GetModuleFileNameW(nullptr, path, DWORD(std::size(path)));
    if (length > 0 && length < std::size(path))
        return QFileInfo(QString::fromWCharArray(path, int(length))).absolutePath();
#elif defined(Q_OS_LINUX)
    const QString self = QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath();
    if (!self.isEmpty())
        return QFileInfo(self).absolutePath();
#endif
    return QFileInfo(QString::fromLocal8Bit(argv0)).absolutePath();
}

// Loads the window part: installed, in its folder under the library folder; in the build tree, beside the
// program.
int runWindow(int argc, char *argv[])
{
    const QDir folder(programFolder(argv[0]));
    QStringList tried;
    QString why;
    for (const QString &where : { QStringLiteral(RM425T_WINDOW_PART_FOLDER), QStringLiteral(".") }) {
        const QString path = QDir::cleanPath(folder.filePath(where + QStringLiteral("/") + RM425T_WINDOW_PART));
        if (!QFileInfo::exists(path)) {
            tried.append(QDir::toNativeSeparators(path));
            continue;
        }
        QLibrary part(path);
        // The window lives until the program ends: the part is never unloaded.
        part.setLoadHints(QLibrary::PreventUnloadHint);
        const auto run = reinterpret_cast<Rm425tRunWindow>(part.resolve(RM425T_WINDOW_ENTRY));
        if (run)
            return run(argc, argv);
        why = part.errorString();
        tried.append(QDir::toNativeSeparators(path));
    }
    std::fprintf(stderr, "rm425t: the window cannot be started: %s\n",
        qPrintable(why.isEmpty() ? QStringLiteral("its part is not at %1").arg(tried.join(QStringLiteral(" nor at "))) : why));
    std::fprintf(stderr, "The commands work without it (rm425t --help).\n");
    return 1;
}

} // namespace

int main(int argc, char *argv[])
{
    // `rm425t COMMAND …` runs a function without the window, and loads nothing of it.
    if (isCommandLine(argc, argv))
        return runCommandLine(argc, argv);
    // The window takes Qt's options only. A mistake is said before a display is needed.
    if (const std::optional<int> refused = refuseWindowArguments(argumentList(argc, argv)))
        return *refused;
    return runWindow(argc, argv);
}
