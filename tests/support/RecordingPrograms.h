#pragma once

#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <vector>

namespace zorvek::fixtures {

// How one run of a recording program was started.
struct ProgramRecord
{
    QStringList arguments;    // argv[1..], each as received
    QString workingDirectory; // physical path (pwd -P)
    bool winePrefixSet = false;
    QString winePrefix;
};

// A temporary folder of recording programs put on PATH for the lifetime of the object:
// each is a shell script standing in for a real program (wine, steam, xdg-open) that writes
// its arguments, working directory and WINEPREFIX to a record file of its own and
// exits. PATH is restored on destruction.
class RecordingPrograms
{
public:
    enum class Path { First, Only };

    // Path::First puts the folder in front of PATH; Path::Only makes it the whole PATH,
    // so that no real program of the same name can be found.
    explicit RecordingPrograms(Path path = Path::First);
    ~RecordingPrograms();
    RecordingPrograms(const RecordingPrograms&) = delete;
    RecordingPrograms& operator=(const RecordingPrograms&) = delete;

    // Writes the recording program `name`; returns its absolute path.
    QString add(const QString& name);

    // Writes a recording program at `path` (a wine of its own inside a scratch folder,
    // folders made as needed) whose runs are recorded under `recordName`.
    bool addAt(const QString& path, const QString& recordName);

    QString folder() const { return m_bin.path(); }

    // The completed records of `name`, in no particular order.
    std::vector<ProgramRecord> records(const QString& name) const;

    // Waits in the event loop (at most `timeoutMs`) until `name` has written `count`
    // records; returns them (fewer when the time ran out).
    std::vector<ProgramRecord> waitForRecords(const QString& name, int count = 1,
                                              int timeoutMs = 15000) const;

private:
    QTemporaryDir m_bin;
    QTemporaryDir m_records;
    QByteArray m_oldPath;
};

} // namespace zorvek::fixtures
