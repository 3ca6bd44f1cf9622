#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include <QByteArray>
#include <QDialog>
#include <QPixmap>
#include <QString>

#include "common/InfoFile.h"

class QLabel;

namespace zorvek {

class PosterFile;

// A genuine info file with its poster, loaded from the poster file: what the info window shows.
struct InfoPoster
{
    InfoFile info;
    QPixmap poster;
};

// Where an info file's poster is downloaded from. The start-up fetches it ahead by this
// address and LoadInfoPoster asks for the same one.
QString PosterUrlOf(const InfoFile& info);

// The start-up step after the info text has been downloaded: parses it, downloads the
// poster through `download` (the blocking GET), writes it to the poster file and loads it.
// Nothing (no window to show) when the text is no info file or the poster cannot be
// downloaded, written or loaded as a picture; no poster file is left behind then.
std::optional<InfoPoster> LoadInfoPoster(std::string_view infoText, PosterFile& posterFile,
                                         const std::function<QByteArray(const QString& url)>& download);

// The modal info window: the poster at its natural size, a click on it closes the window
// and opens the info link in the browser; Escape closes it.
class frmInfo : public QDialog
{
    Q_OBJECT

public:
    // Starts the browser with the link as its only argument. The link is the info file's
    // bytes (Windows-1250), handed on unchanged.
    using LinkOpener = std::function<void(const std::string& link)>;

    // The window is centred over mainWindow and carries its icon.
    frmInfo(const InfoPoster& poster, LinkOpener openLink, QWidget* mainWindow = nullptr);

    QLabel* imgInfo() const { return m_imgInfo; }

    // The outer size the info file asks for: the poster width, and the poster height plus
    // the title bar allowance. The client area is the poster box itself.
    QSize outerSize() const { return m_outerSize; }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void imgInfo_Click();

    QLabel* m_imgInfo = nullptr;
    std::string m_link;
    LinkOpener m_openLink;
    QSize m_outerSize;
    bool m_pressed = false;
};

} // namespace zorvek
