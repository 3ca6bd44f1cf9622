#pragma once

#include <memory>

#include <QByteArray>
#include <QString>

class QTemporaryDir;

namespace zorvek {

// The poster file of one run: infoposter.jpg in the levelshots folder when the program may
// write there, else in a private folder of the run; deleted at the end of the run.
class PosterFile
{
public:
    // levelshotsFolder: the run's levelshots folder, empty when there is none (then no poster
    // is written anywhere). runFolderBase: where the private folder is made when it is needed.
    PosterFile(QString levelshotsFolder, QString runFolderBase);
    ~PosterFile();
    PosterFile(const PosterFile&) = delete;
    PosterFile& operator=(const PosterFile&) = delete;

    // The poster file's path in a folder.
    static QString PathIn(const QString& folder);

    // Writes the downloaded bytes unchanged, replacing an earlier poster. False, with no
    // poster file left behind, when there are no bytes, no levelshots folder (it is never
    // created) or no place that takes them.
    bool write(const QByteArray& bytes);

    // Where the poster was written; empty when it was not.
    const QString& path() const { return m_path; }

    // Deletes this run's poster and its private folder, and a poster that an earlier run
    // left in the levelshots folder.
    void remove();

private:
    QString m_levelshotsFolder;
    QString m_runFolderBase;
    std::unique_ptr<QTemporaryDir> m_runFolder;
    QString m_path;
};

} // namespace zorvek
