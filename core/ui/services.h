// The services every window gets through its constructor: message boxes, the clock, the desktop.
// Production passes the real ones; tests pass a recording notifier and desktop and a fixed clock.
#pragma once

namespace orvane {

class Clock;
class Desktop;
class Notifier;

struct Services {
    Notifier& notifier;
    const Clock& clock;
    Desktop& desktop;
};

} // namespace orvane
