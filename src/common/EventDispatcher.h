#pragma once

namespace zorvek {

// Chooses Qt's own event dispatcher over GLib's; called first thing in main(), before the
// application object exists. Under GLib's, a burst of refreshes (255 status sockets whose
// read notifiers Qt turns off and on again around every datagram) left sockets whose
// arrivals were never reported: the replies to the last refresh stayed unread and their rows
// empty. Qt's own dispatcher loses none. Every executable of the project that runs an event
// loop calls this, so the tests run what the program runs.
void ChooseEventDispatcher();

} // namespace zorvek
