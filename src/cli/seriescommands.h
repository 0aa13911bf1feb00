#pragma once

#include "cli/commandoptions.h"
#include "cli/moduleruns.h"
#include "core/configuration.h"
#include "core/unitsfile.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>
#include <variant>

// The commands' parts that work on a units file, and `diff`. Whatever cannot be used is said on standard
// error; a returned int is the exit status then.

// Reads and checks the units file; every problem it has is said, and then nothing may be sent.
std::variant<UnitsFile, int> readCheckedUnits(const QString &path);

// `record --units CSV --unit NAME`: the unit's configuration over the base settings.
std::variant<Configuration, int> unitConfigurationFor(
    const LoadedSettings &base, const QString &unitsPath, const QString &unit);

// `upload --units CSV`: every port with its unit and that unit's own record, in the order of the ports,
// built in full before any port is opened. `unit` empty: all rows of the file.
std::variant<QList<PortUpload>, int> unitUploads(
    const QStringList &ports, const LoadedSettings &base, const QString &unitsPath, const QString &unit);

int diffCommand(const QStringList &arguments);
