#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>

#include <QString>
#include <QTemporaryDir>

namespace zorvek::fixtures {

// A Wine prefix of a test's own: drive_c, the dosdevices link of drive C and the
// registry files system.reg and user.reg written in the form Wine 8 writes them.
class TestWinePrefix
{
public:
    // In a temporary folder of its own.
    TestWinePrefix();
    // In `folder` (made as needed), which the test owns.
    explicit TestWinePrefix(const QString& folder);

    QString path() const { return m_path; }
    // The physical Linux path of drive C, links resolved.
    QString driveC() const;

    // Creates a folder below drive C ("Games/CoD4") and returns its physical path.
    QString makeFolder(const QString& belowDriveC) const;

    // A text value (REG_SZ) under HKEY_LOCAL_MACHINE; `key` and `value` as Windows
    // shows them, single backslashes. A key without values: value name empty and
    // `value` std::nullopt.
    void setMachineText(const std::string& key, const std::string& name, std::optional<std::string> value);

    // Writes system.reg and user.reg from the values set so far.
    bool writeRegistry() const;

private:
    void layOut() const;

    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_path;
    std::map<std::string, std::map<std::string, std::optional<std::string>>> m_machine;
};

} // namespace zorvek::fixtures
