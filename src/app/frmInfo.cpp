#include "app/frmInfo.h"

#include <algorithm>
#include <cmath>

#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>

#include "common/PosterFile.h"
#include "common/TextCodec.h"
#include "common/Texts.h"

namespace zorvek {

namespace {

// The info file's outer height counts this much for the title bar above the poster.
constexpr int kTitleBarAllowance = 30;
constexpr double kLargestSide = 16383;

// A size of the info file in whole pixels, kept within what a window can have.
int Pixels(double size)
{
    if (!(size >= 0))
        return 0;
    return static_cast<int>(std::lround(std::min(size, kLargestSide)));
}

} // namespace

QString PosterUrlOf(const InfoFile& info)
{
    return FromCp1250(info.PosterUrl);
}

std::optional<InfoPoster> LoadInfoPoster(std::string_view infoText, PosterFile& posterFile,
                                         const std::function<QByteArray(const QString& url)>& download)
{
    std::optional<InfoFile> info = ParseInfoFile(infoText);
    if (!info)
        return std::nullopt;

    const QByteArray bytes = download ? download(PosterUrlOf(*info)) : QByteArray();
    if (!posterFile.write(bytes))
        return std::nullopt;

    QPixmap poster;
    if (!poster.load(posterFile.path())) {
        posterFile.remove();
        return std::nullopt;
    }
    return InfoPoster{*std::move(info), poster};
}

frmInfo::frmInfo(const InfoPoster& poster, LinkOpener openLink, QWidget* mainWindow)
    : QDialog(mainWindow), m_link(poster.info.InfoLink), m_openLink(std::move(openLink))
{
    setWindowTitle(QString::fromUtf8(texts::kInfoWindowTitle));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    const int width = Pixels(poster.info.InfoWidth);
    const int height = Pixels(poster.info.InfoHeight);
    m_outerSize = QSize(width, height + kTitleBarAllowance);
    // On this platform the window manager draws the title bar, so the client area is the
    // poster box alone; a window cannot be narrower or lower than one pixel.
    setFixedSize(std::max(width, 1), std::max(height, 1));

    m_imgInfo = new QLabel(this);
    m_imgInfo->setObjectName(QStringLiteral("imgInfo"));
    m_imgInfo->setGeometry(0, 0, width, height);
    m_imgInfo->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_imgInfo->setScaledContents(false);
    m_imgInfo->setPixmap(poster.poster);
    m_imgInfo->setToolTip(FromCp1250(poster.info.InfoToolTip));
    m_imgInfo->setCursor(Qt::PointingHandCursor);
    m_imgInfo->installEventFilter(this);
}

void frmInfo::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape)
        reject();
    else
        event->ignore();
}

bool frmInfo::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != m_imgInfo)
        return QDialog::eventFilter(watched, event);

    // A click: the left button pressed and released over the poster.
    if (event->type() == QEvent::MouseButtonPress) {
        m_pressed = static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton;
    } else if (event->type() == QEvent::MouseButtonRelease) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        const bool click = m_pressed && mouse->button() == Qt::LeftButton &&
                           m_imgInfo->rect().contains(mouse->position().toPoint());
        m_pressed = false;
        if (click)
            imgInfo_Click();
    }
    return QDialog::eventFilter(watched, event);
}

void frmInfo::imgInfo_Click()
{
    accept();
    if (m_openLink)
        m_openLink(m_link);
}

} // namespace zorvek
