#include "shell/recoverycopy.h"

#include "window/settingsfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

RecoveryCopy::RecoveryCopy(PagesDocument pages, QObject *parent)
    : QObject(parent)
    , m_pages(std::move(pages))
{
    m_timer.setSingleShot(true);
    m_timer.setInterval(kDelay);
    connect(&m_timer, &QTimer::timeout, this, &RecoveryCopy::writeNow);
}

void RecoveryCopy::schedule()
{
    m_timer.start();
}

bool RecoveryCopy::writeNow()
{
    m_timer.stop();
    const QString path = RecoveryFilePath();
    QDir().mkpath(QFileInfo(path).absolutePath());
    return writeIniFileAtomically(path, m_pages());
}

void RecoveryCopy::flush()
{
    if (m_timer.isActive())
        writeNow();
}

void RecoveryCopy::discard()
{
    m_timer.stop();
    QFile::remove(RecoveryFilePath());
}

std::optional<IniDocument> RecoveryCopy::leftOver(const std::function<IniDocument()> &pages)
{
    const std::optional<IniDocument> copy = readIniFile(RecoveryFilePath());
    if (!copy)
        return std::nullopt;
    if (sameSettings(*copy, pages())) {
        QFile::remove(RecoveryFilePath());
        return std::nullopt;
    }
    return copy;
}
