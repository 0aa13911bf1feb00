#pragma once

#include "window/settingsfile.h"

#include <QByteArray>
#include <QFile>

// A settings file as the next start finds it: written where the program reads it, then read into the
// configuration as the start window does while it loads. Pages built afterwards show its values.
inline bool writeStartupSettings(const QByteArray &text)
{
    QFile file(IniFilePath());
    if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size())
        return false;
    file.close();
    loadSettingsIntoConfiguration(IniFileReadPath());
    return true;
}
