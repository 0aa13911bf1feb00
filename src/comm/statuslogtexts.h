#pragma once

#include "comm/statuslog.h"

#include <QString>

// What the communication page and the commands say about the status log, in the language in force.
namespace StatusLogText {

// The log of this run cannot be kept in fileName, and why.
QString notWritten(const QString &fileName, const StatusLog::Failure &failure);

} // namespace StatusLogText
