#include "ui/FormColors.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QToolBar>
#include <optional>

#include "core/ReportError.h"
#include "core/Settings.h"
#include "platform/DriveMap.h"
#include "platform/PlatformError.h"
#include "ui/QtColor.h"
#include "ui/Shape.h"

namespace bw {

namespace {

constexpr int kInvalidPicture = 481;

// Set while a pattern failure is being reported: the report's own message box loads the same
// pattern, and reporting that failure again would never end.
bool reportingPattern = false;

bool StartsWith(const QString& name, const char* prefix) {
    return name.startsWith(QLatin1String(prefix), Qt::CaseInsensitive);
}

std::string HostPatternPath(const std::string& path, const DriveMap* drives) {
    if (!path.empty() && path.front() == '/') return path;
    std::optional<std::string> host;
    if (drives) {
        host = drives->ToHost(path);
    } else {
        host = DriveMap::FromEnvironment().ToHost(path);
    }
    if (!host) throw PlatformError::FromNumber(err::kPathNotFound);
    return *host;
}

// The pattern image; throws the error a user can act on when it cannot be read.
QImage LoadPattern(const std::string& path, const DriveMap* drives) {
    const QString host = QString::fromStdString(HostPatternPath(path, drives));
    const QFileInfo info(host);
    if (!info.exists()) {
        throw PlatformError::FromNumber(info.dir().exists() ? err::kFileNotFound
                                                            : err::kPathNotFound);
    }
    if (info.isDir()) throw PlatformError::FromNumber(err::kPathFileAccess);
    if (!info.isReadable()) throw PlatformError::FromNumber(err::kPermissionDenied);
    QImageReader reader(host);
    QImage image = reader.read();
    if (image.isNull()) throw PlatformError(kInvalidPicture, "Invalid picture");
    return image;
}

// The main window's icon, which every window of the program wears.
QIcon MainWindowIcon() {
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w->objectName() == QLatin1String("frmMain")) return w->windowIcon();
    }
    return QApplication::windowIcon();
}

void SetColors(QWidget& w, std::initializer_list<std::pair<QPalette::ColorRole, QColor>> roles,
               bool fillBackground) {
    QPalette p = w.palette();
    for (const auto& [role, color] : roles) p.setColor(role, color);
    w.setPalette(p);
    w.setAutoFillBackground(fillBackground);
}

// Toolbars, menu bars, trees, lists and text fields keep the system's colours: they would
// otherwise inherit the window's background, and a pattern there is no colour at all.
bool KeepsOwnColors(const QWidget& w) {
    return qobject_cast<const QToolBar*>(&w) || qobject_cast<const QMenuBar*>(&w) ||
           qobject_cast<const QAbstractItemView*>(&w) || qobject_cast<const QLineEdit*>(&w) ||
           qobject_cast<const QComboBox*>(&w);
}

// Every role set explicitly, so nothing of the window's palette reaches the control or its parts.
void PinSystemColors(QWidget& w) {
    const QPalette system = QApplication::palette(&w);
    QPalette pinned;
    for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        for (int role = 0; role < QPalette::NColorRoles; ++role) {
            const auto r = static_cast<QPalette::ColorRole>(role);
            pinned.setBrush(group, r, system.brush(group, r));
        }
    }
    w.setPalette(pinned);
}

void StyleControl(QWidget& w, const Settings& s) {
    const QColor back = ColorFromNumber(s.BackColor);
    const QColor shadow = ColorFromNumber(s.ShadowColor);
    const QColor text = ColorFromNumber(s.TextColor);
    switch (KindOf(w)) {
        case ControlKind::Label:
            SetColors(w, {{QPalette::WindowText, text}, {QPalette::Window, back}}, false);
            break;
        case ControlKind::Button: {
            QPalette p = w.palette();
            p.setColor(QPalette::Button, ColorFromNumber(s.ButtonColor));
            w.setPalette(p);
            break;
        }
        case ControlKind::CheckBox:
        case ControlKind::OptionButton:
        case ControlKind::Frame:
            // Buttons fill with the Button role by default; these take the window's background.
            w.setBackgroundRole(QPalette::Window);
            SetColors(w, {{QPalette::WindowText, text}, {QPalette::Window, back}}, true);
            break;
        case ControlKind::Shape:
            if (auto* shape = qobject_cast<Shape*>(&w)) {
                shape->SetFillColor(shadow);
                shape->SetOutlineColor(text);
            } else {
                SetColors(w, {{QPalette::WindowText, text}, {QPalette::Window, shadow}}, true);
            }
            break;
        case ControlKind::Line:
            SetColors(w, {{QPalette::WindowText, text}}, w.autoFillBackground());
            break;
        case ControlKind::ShadowPicture:
            SetColors(w, {{QPalette::Window, shadow}}, true);
            break;
        case ControlKind::Other:
            break;
    }
}

}  // namespace

ControlKind KindOf(const QWidget& control) {
    const QString name = control.objectName();
    if (qobject_cast<const Shape*>(&control)) return ControlKind::Shape;
    if (StartsWith(name, "qt_")) return ControlKind::Other;  // Qt's own parts of a composite
    if (StartsWith(name, "pct")) {
        return name.contains(QLatin1String("shadow"), Qt::CaseInsensitive)
                   ? ControlKind::ShadowPicture
                   : ControlKind::Other;
    }
    if (StartsWith(name, "shp") || StartsWith(name, "shape")) return ControlKind::Shape;
    if (const auto* frame = qobject_cast<const QFrame*>(&control)) {
        if (frame->frameShape() == QFrame::HLine || frame->frameShape() == QFrame::VLine) {
            return ControlKind::Line;
        }
    }
    if (StartsWith(name, "lin")) return ControlKind::Line;
    if (qobject_cast<const QLabel*>(&control)) return ControlKind::Label;
    if (qobject_cast<const QCheckBox*>(&control)) return ControlKind::CheckBox;
    if (qobject_cast<const QRadioButton*>(&control)) return ControlKind::OptionButton;
    if (qobject_cast<const QPushButton*>(&control)) return ControlKind::Button;
    if (qobject_cast<const QAbstractButton*>(&control) && StartsWith(name, "cmd")) {
        return ControlKind::Button;
    }
    if (qobject_cast<const QGroupBox*>(&control)) return ControlKind::Frame;
    if (qobject_cast<const QFrame*>(&control) && StartsWith(name, "fra")) return ControlKind::Frame;
    return ControlKind::Other;
}

std::vector<QRect> PatternTiles(QSize area, QSize tile) {
    std::vector<QRect> tiles;
    if (tile.width() <= 0 || tile.height() <= 0) return tiles;
    for (int x = 0; x <= area.width(); x += tile.width()) {
        for (int y = 0; y <= area.height(); y += tile.height()) {
            tiles.emplace_back(QPoint(x, y), tile);
        }
    }
    return tiles;
}

void ApplyFormColors(QWidget& form, const Settings& settings, Desktop& desktop,
                     const DriveMap* drives) {
    const QColor back = ColorFromNumber(settings.BackColor);
    QPalette palette = form.palette();
    palette.setBrush(QPalette::Window, back);
    form.setPalette(palette);
    form.setAutoFillBackground(true);
    form.setWindowIcon(MainWindowIcon());
    for (QWidget* control : form.findChildren<QWidget*>())
        if (KeepsOwnColors(*control)) PinSystemColors(*control);

    if (!settings.BackPattern.empty() && !reportingPattern) {
        QImage pattern;
        try {
            pattern = LoadPattern(settings.BackPattern, drives);
        } catch (const PlatformError& e) {
            struct Guard {
                Guard() { reportingPattern = true; }
                ~Guard() { reportingPattern = false; }
            } guard;
            ReportError(desktop, e, "ApplyFormColors: " + form.objectName().toStdString());
            return;
        }
        // Tiled once, for the window's size now, over the background colour.
        QPixmap background(form.size().expandedTo(QSize(1, 1)));
        background.fill(back);
        QPainter painter(&background);
        for (const QRect& tile : PatternTiles(form.size(), pattern.size())) {
            painter.drawImage(tile.topLeft(), pattern);
        }
        painter.end();
        // The brush keeps the background colour too: styles shade frames and bars from it.
        palette.setBrush(QPalette::Window, QBrush(back, background));
        form.setPalette(palette);
    }

    for (QWidget* control : form.findChildren<QWidget*>())
        if (!KeepsOwnColors(*control)) StyleControl(*control, settings);
}

}  // namespace bw
