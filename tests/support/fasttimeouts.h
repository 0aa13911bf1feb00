#pragma once

#include "comm/linksession.h"

#include <chrono>

// Limits of the page's waits that a loaded machine still meets against the simulator; tests of a limit running
// out set their own.
inline LinkTimeouts fastTimeouts()
{
    using namespace std::chrono_literals;
    LinkTimeouts t;
    t.uploadSearch = 10s;
    t.search = 10s;
    t.reply = 1s;
    t.messageGap = 80ms;
    t.busyStep = 50ms;
    return t;
}
