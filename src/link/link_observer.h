#pragma once

#include "link/pacing.h"

namespace tunara::link {

// What the protocol tells a port that wants to know more than the bytes:
// which procedure the next bytes belong to, each pacing pause, and each reply
// that did not come in time. A port that also is a LinkObserver (the
// tracing port) is told by every protocol built on it; other ports are not
// bothered.
class LinkObserver {
public:
    virtual ~LinkObserver() = default;
    // The procedure the next bytes belong to; `address` >= 0 names the
    // EEPROM address inside a block loop.
    virtual void protocolStep(const char *procedure, int address) = 0;
    // A pacing pause asked for `requestedMs`, begun at `start`, that lasted `actual`.
    virtual void paused(int requestedMs, Clock::time_point start, Clock::duration actual) = 0;
    // A wait for `needed` reply bytes reached its deadline with `arrived` of them.
    virtual void replyTimedOut(int needed, int arrived) = 0;
};

}  // namespace tunara::link
