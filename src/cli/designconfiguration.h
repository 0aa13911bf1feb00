#pragma once

#include <QString>

// `rm425t init FILE`: a settings file to start a configuration from. It holds every page as a first start
// shows it, written as "Save configuration as" writes it, through the same safe write. A file already there
// is only replaced when `replace` is set; a path that names no regular file (a folder, a FIFO, a device) is
// never opened. Says what happened on standard error and returns the exit status: 0 written, 3 not.
int writeDesignConfiguration(const QString &path, bool replace);
