#pragma once

#include <string>

#include <QByteArray>
#include <QString>

namespace zorvek {

// A test or benchmark process that needs a resolver configuration of its own or a read-only
// folder works in namespaces of its own: a mount namespace whose mounts never reach the
// machine, and a network namespace with nothing but its own loopback, so no question leaves
// the process's world. Entered first thing in main(), before any thread exists: threads
// started later share them, and so do child processes.

// Enters both namespaces and brings the loopback up. False when they cannot be made (not root,
// namespaces not allowed); what needs them is then skipped with PrivateNamespacesProblem().
bool EnterPrivateNamespaces();
bool PrivateNamespacesEntered();
const std::string& PrivateNamespacesProblem();

// A bind mount inside the private mount namespace, taken away again when the object goes.
class ScopedBindMount
{
public:
    ScopedBindMount() = default;
    ScopedBindMount(const ScopedBindMount&) = delete;
    ScopedBindMount& operator=(const ScopedBindMount&) = delete;
    ~ScopedBindMount();

    // Mounts `source` (a file or a folder) over `target`, read-only when asked, in place of
    // what this object mounted before. False with the reason in `problem`.
    bool mount(const QString& source, const QString& target, bool readOnly, std::string* problem);

private:
    void unmount();

    QByteArray m_target; // empty while nothing is mounted
};

} // namespace zorvek
