#include "common/PosterFile.h"

#include <filesystem>
#include <system_error>

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTemporaryFile>

namespace zorvek {

namespace {

std::filesystem::path nativePath(const QString& path)
{
    return std::filesystem::path(path.toStdU16String());
}

// Writes the bytes into a new file of its own beside the target and renames it over the
// target. Whatever stood at the target (an earlier poster, a link planted there) is replaced
// as a name: nothing is ever written through it, and nothing outside the target's folder.
bool writeReplacing(const QString& target, const QByteArray& bytes)
{
    QString written;
    {
        QTemporaryFile file(QFileInfo(target).absolutePath() + QStringLiteral("/.infoposter-XXXXXX"));
        if (!file.open())
            return false;
        if (file.write(bytes) != bytes.size() || !file.flush())
            return false;
        written = file.fileName();
        file.setAutoRemove(false);
        // A temporary file's close() keeps its handle open; the object's end closes it.
        // Windows renames no file that is open.
    }
    std::error_code error;
    std::filesystem::rename(nativePath(written), nativePath(target), error);
    if (error) {
        std::filesystem::remove(nativePath(written), error);
        return false;
    }
    return true;
}

// Removes the entry at a path unless it is a folder: a link goes itself, never its target.
void removeEntry(const QString& path)
{
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::symlink_status(nativePath(path), error);
    if (!error && std::filesystem::exists(status) && !std::filesystem::is_directory(status))
        std::filesystem::remove(nativePath(path), error);
}

} // namespace

PosterFile::PosterFile(QString levelshotsFolder, QString runFolderBase)
    : m_levelshotsFolder(std::move(levelshotsFolder)), m_runFolderBase(std::move(runFolderBase))
{
    if (m_runFolderBase.isEmpty())
        m_runFolderBase = QDir::tempPath();
}

PosterFile::~PosterFile()
{
    remove();
}

QString PosterFile::PathIn(const QString& folder)
{
    return QDir(folder).filePath(QStringLiteral("infoposter.jpg"));
}

bool PosterFile::write(const QByteArray& bytes)
{
    // A poster that cannot be had leaves no file, not even one of an earlier run.
    remove();
    if (bytes.isEmpty() || m_levelshotsFolder.isEmpty() || !QFileInfo(m_levelshotsFolder).isDir())
        return false;
    if (writeReplacing(PathIn(m_levelshotsFolder), bytes)) {
        m_path = PathIn(m_levelshotsFolder);
        return true;
    }
    // The levelshots folder is not the user's to write (installed for the whole system, on a
    // read-only medium): the poster goes into a folder of this run that only the user can
    // enter (QTemporaryDir makes it with mode 0700).
    auto runFolder =
        std::make_unique<QTemporaryDir>(QDir(m_runFolderBase).filePath(QStringLiteral("zorvek-XXXXXX")));
    if (!runFolder->isValid() || !writeReplacing(PathIn(runFolder->path()), bytes))
        return false;
    m_runFolder = std::move(runFolder);
    m_path = PathIn(m_runFolder->path());
    return true;
}

void PosterFile::remove()
{
    if (!m_levelshotsFolder.isEmpty())
        removeEntry(PathIn(m_levelshotsFolder));
    // The private folder goes with everything in it.
    m_runFolder.reset();
    m_path.clear();
}

} // namespace zorvek
