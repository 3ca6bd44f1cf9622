#pragma once

#include <optional>

#include <QByteArray>
#include <QString>

namespace zorvek::fixtures {

// Windows under Wine: the shell opens web addresses with winebrowser, which runs the browsers
// that the prefix's registry names. scripts/test-windows.sh names a script there that writes
// the address it was given into a record file, and gives that file's Windows path in
// ZORVEK_TEST_BROWSER_RECORD. Empty where it is not given.
QString ShellBrowserRecordPath();

// Removes an earlier record, so that the next one is the next address opened.
void ClearShellBrowserRecord();

// Waits in the event loop until a record is there; the address in it, nothing on time-out.
std::optional<QByteArray> WaitForShellBrowserRecord(int timeoutMs = 20000);

} // namespace zorvek::fixtures
