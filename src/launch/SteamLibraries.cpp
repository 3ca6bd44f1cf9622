#include "launch/SteamLibraries.h"

#include <optional>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>

#include "launch/ConfigFiles.h"

namespace zorvek {

namespace {

// Steam's text form of key-values: quoted strings, braces, and // comments.
class VdfTokens
{
public:
    enum class Kind { String, Open, Close, End, Error };

    explicit VdfTokens(std::string_view text) : m_text(text) {}

    Kind next(std::string& string)
    {
        while (m_pos < m_text.size()) {
            const char c = m_text[m_pos];
            if (c == ' ' || c == '\t' || c == '\r' || c == '\n') {
                ++m_pos;
            } else if (m_text.substr(m_pos, 2) == "//") {
                const std::size_t end = m_text.find('\n', m_pos);
                m_pos = end == std::string_view::npos ? m_text.size() : end;
            } else {
                break;
            }
        }
        if (m_pos >= m_text.size())
            return Kind::End;
        const char c = m_text[m_pos++];
        if (c == '{')
            return Kind::Open;
        if (c == '}')
            return Kind::Close;
        if (c != '"')
            return Kind::Error;
        string.clear();
        while (m_pos < m_text.size() && m_text[m_pos] != '"') {
            char s = m_text[m_pos++];
            if (s == '\\' && m_pos < m_text.size()) {
                s = m_text[m_pos++];
                if (s == 'n')
                    s = '\n';
                else if (s == 't')
                    s = '\t';
            }
            string.push_back(s);
        }
        if (m_pos >= m_text.size())
            return Kind::Error; // the string does not end
        ++m_pos;
        return Kind::String;
    }

private:
    std::string_view m_text;
    std::size_t m_pos = 0;
};

bool IsNumber(const std::string& text)
{
    return !text.empty() && text.find_first_not_of("0123456789") == std::string::npos;
}

bool EqualsNoCase(const std::string& a, std::string_view b)
{
    return QString::fromStdString(a).compare(QLatin1String(b), Qt::CaseInsensitive) == 0;
}

} // namespace

std::vector<std::string> ParseLibraryFolders(std::string_view text)
{
    using Kind = VdfTokens::Kind;
    VdfTokens tokens(text);
    std::string key;
    std::string value;
    if (tokens.next(key) != Kind::String || !EqualsNoCase(key, "libraryfolders") ||
        tokens.next(value) != Kind::Open)
        return {};

    // Keys and values below the root: depth 1 holds the numbered libraries, depth 2 their
    // fields, deeper ones ("apps") are passed over.
    std::vector<std::string> paths;
    std::optional<std::string> library; // the numbered block being read, while at depth 2
    std::optional<std::string> path;
    int depth = 1;
    while (depth > 0) {
        const Kind kind = tokens.next(key);
        if (kind == Kind::Close) {
            if (depth == 2 && library && path && QDir::isAbsolutePath(QString::fromStdString(*path)))
                paths.push_back(*path);
            if (depth == 2)
                library.reset();
            --depth;
            continue;
        }
        if (kind != Kind::String)
            return {};
        const Kind after = tokens.next(value);
        if (after == Kind::Open) {
            if (depth == 1 && IsNumber(key)) {
                library = key;
                path.reset();
            }
            ++depth;
        } else if (after == Kind::String) {
            if (depth == 2 && library && !path && EqualsNoCase(key, "path"))
                path = value;
        } else {
            return {};
        }
    }
    std::string rest;
    if (tokens.next(rest) != Kind::End)
        return {};
    return paths;
}

std::vector<QString> SteamLibraries(const QString& home)
{
    std::vector<QString> libraries;
    QSet<QString> seen;
    auto add = [&](const QString& library) {
        // ~/.steam/steam is a link to Steam's folder where Steam made it.
        const QString physical = QFileInfo(library).canonicalFilePath();
        if (physical.isEmpty() || seen.contains(physical))
            return;
        seen.insert(physical);
        libraries.push_back(library);
    };
    const QDir homeDir(home);
    for (const QString& root : {QStringLiteral(".steam/steam"), QStringLiteral(".local/share/Steam")}) {
        const QString steam = homeDir.filePath(root);
        add(steam);
        const std::optional<std::string> text =
            ReadConfigFile(QDir(steam).filePath(QStringLiteral("steamapps/libraryfolders.vdf")));
        for (const std::string& path : text ? ParseLibraryFolders(*text) : std::vector<std::string>())
            add(QFile::decodeName(QByteArray::fromStdString(path)));
    }
    return libraries;
}

bool SteamLibraryHasApp(const QString& library, std::uint32_t appId)
{
    return QFileInfo(QDir(library).filePath(QStringLiteral("steamapps/appmanifest_%1.acf").arg(appId)))
        .isFile();
}

} // namespace zorvek
