#include "ui/main/shown_size_icon.h"

#include <QApplication>
#include <QFile>
#include <QGuiApplication>
#include <QIconEngine>
#include <QPainter>

#include <algorithm>
#include <array>
#include <map>

namespace qm54 {

namespace {

// The standard pictures the main window shows: the name the style asks the icon theme for, and
// the file stem of the style's built-in picture in each of kSizes.
struct StandardPicture {
    QStyle::StandardPixmap Id;
    const char* ThemeName;
    const char* BuiltInStem;
};
constexpr StandardPicture kPictures[] = {
    {QStyle::SP_FileIcon, "text-x-generic", "file"},
    {QStyle::SP_DialogOpenButton, "folder-open", "standardbutton-open"},
    {QStyle::SP_DialogSaveButton, "document-save", "standardbutton-save"},
    {QStyle::SP_FileDialogDetailedView, "view-list-details", "viewdetailed"},
    {QStyle::SP_ArrowUp, "go-up", "up"},
    {QStyle::SP_ArrowDown, "go-down", "down"},
};
constexpr std::array<int, 3> kSizes = {16, 32, 128};

QString BuiltInFile(const char* stem, int size)
{
    return QStringLiteral(":/qt-project.org/styles/commonstyle/images/%1-%2.png").arg(QLatin1String(stem)).arg(size);
}

// Reads the built-in picture of the smallest size that covers what is asked (the largest for
// anything bigger), once per size, and leaves the scaling and the disabled look to QIcon.
class ShownSizeIconEngine final : public QIconEngine {
public:
    explicit ShownSizeIconEngine(const char* stem) : stem_(stem) {}

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override
    {
        IconFor(rect.size()).paint(painter, rect, Qt::AlignCenter, mode, state);
    }
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override
    {
        return IconFor(size).pixmap(size, mode, state);
    }
    // The pictures are square and never scaled up: known without reading one.
    QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override
    {
        const int side = std::min({size.width(), size.height(), kSizes.back()});
        return QSize(side, side);
    }
    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override
    {
        QList<QSize> sizes;
        for (int side : kSizes) sizes.append(QSize(side, side));
        return sizes;
    }
    bool isNull() override { return false; }
    QString key() const override { return QStringLiteral("ShownSizeIconEngine"); }
    QIconEngine* clone() const override { return new ShownSizeIconEngine(*this); }

private:
    ShownSizeIconEngine(const ShownSizeIconEngine& other) = default;

    const QIcon& IconFor(const QSize& size)
    {
        const int wanted = std::max(size.width(), size.height());
        int side = kSizes.back();
        for (int s : kSizes)
            if (s >= wanted) {
                side = s;
                break;
            }
        auto [it, added] = read_.try_emplace(side);
        if (added) it->second.addFile(BuiltInFile(stem_, side), QSize(side, side));
        return it->second;
    }

    const char* stem_;
    std::map<int, QIcon> read_;
};

}  // namespace

QIcon StandardIconAtShownSize(QStyle::StandardPixmap id)
{
    QStyle* style = QApplication::style();
    for (const StandardPicture& picture : kPictures) {
        if (picture.Id != id) continue;
        const QString themeName = QLatin1String(picture.ThemeName);
        if (QGuiApplication::desktopSettingsAware() && !QIcon::themeName().isEmpty() && QIcon::hasThemeIcon(themeName))
            return QIcon::fromTheme(themeName);
        // Only the style that draws with the built-in pictures; any other keeps its own.
        const bool builtIn = style->name().compare(QLatin1String("fusion"), Qt::CaseInsensitive) == 0;
        if (builtIn && QFile::exists(BuiltInFile(picture.BuiltInStem, kSizes.front())))
            return QIcon(new ShownSizeIconEngine(picture.BuiltInStem));
        break;
    }
    return style->standardIcon(id);
}

}  // namespace qm54
