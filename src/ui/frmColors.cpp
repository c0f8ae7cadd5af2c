#include "ui/frmColors.h"

#include <QCloseEvent>
#include <QColorDialog>
#include <QCoreApplication>
#include <QFileDialog>
#include <QFrame>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>

#include "core/AppState.h"
#include "core/Desktop.h"
#include "core/ReportError.h"
#include "core/Settings.h"
#include "platform/PlatformError.h"
#include "platform/Profile.h"
#include "ui/FormColors.h"
#include "ui/HoverCursor.h"
#include "ui/QtColor.h"
#include "ui/TwipLayout.h"

namespace bw {

namespace {

constexpr int kInvalidPicture = 481;

struct ColorRow {
    const char* label;
    const char* labelName;
    int left, top, labelWidth, labelHeight;
    int buttonLeft, buttonWidth;
};

// Row 0 also holds the pattern button, hence its short colour button and tall label.
constexpr std::array<ColorRow, 8> kRows = {{
    {"Window background color/ pattern:", "lblBackColor", 240, 480, 2175, 495, 2400, 615},
    {"'Shadow' color:", "lblShadow", 240, 960, 2055, 255, 2400, 1335},
    {"Text color:", "lblTextColor", 240, 1440, 2055, 255, 2400, 1335},
    {"Button color:", "lblButtonColor", 240, 1920, 2055, 255, 2400, 1335},
    {"Poser Files color:", "lblPoserFileTypes", 4080, 480, 2055, 255, 6360, 1335},
    {"Image Files color:", "lblImageFiles", 4080, 960, 2175, 255, 6360, 1335},
    {"System Files color:", "lblSystemFiles", 4080, 1440, 2175, 255, 6360, 1335},
    {"Other Files color:", "lblUnknownFiles", 4080, 1920, 2175, 255, 6360, 1335},
}};

std::array<int32_t*, 8> SchemeColors(Settings& s) {
    return {&s.BackColor,      &s.ShadowColor,    &s.TextColor,       &s.ButtonColor,
            &s.PoserFileColor, &s.ImageFileColor, &s.SystemFileColor, &s.OtherFileColor};
}

QString ColorSheet(const QColor& c) {
    // A border of our own makes every style paint the background colour.
    return QStringLiteral("QPushButton { background-color: %1; border: 1px solid #404040; }")
        .arg(c.name());
}

// The image tiled at its own size, as the windows will show it.
QPixmap Swatch(const QPixmap& image, QSize size) {
    QPixmap swatch(size);
    QPainter painter(&swatch);
    painter.drawTiledPixmap(swatch.rect(), image);
    return swatch;
}

QPushButton* AddButton(QWidget& parent, const QString& name, const char* caption, const char* tip,
                       int left, int top, int width, int height) {
    auto* button = new QPushButton(caption, &parent);
    button->setObjectName(name);
    if (tip) button->setToolTip(tip);
    button->setAutoDefault(false);
    PlaceAt(*button, left, top, width, height);
    return button;
}

QString DefaultImageChooser(QWidget* owner) {
    return QFileDialog::getOpenFileName(
        owner, "Select Wallpaper Image...", QCoreApplication::applicationDirPath(),
        "JPEG Images (*.jpg);;GIF Images (*.gif);;Bitmap Images (*.bmp)");
}

}  // namespace

const std::array<const char*, 8>& ColorKeys() {
    static const std::array<const char*, 8> keys = {
        "BackColor",      "ShadowColor",    "TextColor",       "ButtonColor",
        "PoserFileColor", "ImageFileColor", "SystemFileColor", "OtherFileColor"};
    return keys;
}

frmColors::frmColors(AppState& app, QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                         Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      app_(app) {
    setObjectName("frmColors");
    setWindowTitle("Edit Application Colors");
    setFixedSize(Px(8160), Px(3495));
    BuildControls();
    chooseColor = [this]() -> std::optional<QColor> {
        const QColor c = QColorDialog::getColor(Qt::white, this, "Select a Color...");
        return c.isValid() ? std::optional<QColor>(c) : std::nullopt;
    };
    chooseImage = [this] { return DefaultImageChooser(this).toStdString(); };

    ApplyFormColors(*this, app.settings, app.desktop, &app.fs->driveMap());
    // The frame is an outline only, whatever the scheme does to shapes.
    Shape3->setAutoFillBackground(false);
    const auto scheme = SchemeColors(app.settings);
    for (size_t n = 0; n < colors_.size(); ++n) {
        colors_[n] = *scheme[n];
        ShowColor(static_cast<int>(n));
    }
    ShowPattern();
    lblOldBackPattern->setText(QString::fromStdString(app.settings.BackPattern));
    ColorsChanged = false;
    InstallHoverCursor(*this);
    ConnectButtons();
}

void frmColors::BuildControls() {
    Shape3 = new QFrame(this);
    Shape3->setObjectName("Shape3");
    Shape3->setFrameShape(QFrame::Box);
    Shape3->setFrameShadow(QFrame::Plain);
    PlaceAt(*Shape3, 120, 360, 7815, 2175);
    Line1 = AddLine(*this, "Line1", 3960, 360, 3960, 2520);

    lblMain = new QLabel("Select a new color for:", this);
    lblMain->setObjectName("lblMain");
    lblMain->setFont(NearestFont({"Verdana", "DejaVu Sans"}, QFont::SansSerif, 9.75, true));
    PlaceAt(*lblMain, 360, 120, 2535, 255);

    for (size_t n = 0; n < kRows.size(); ++n) {
        const ColorRow& r = kRows[n];
        lblColor[n] = new QLabel(r.label, this);
        lblColor[n]->setObjectName(r.labelName);
        lblColor[n]->setWordWrap(true);
        lblColor[n]->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        PlaceAt(*lblColor[n], r.left, r.top, r.labelWidth, r.labelHeight);
        cmdColor[n] = AddButton(*this, QStringLiteral("cmdColor%1").arg(n), "", nullptr,
                                r.buttonLeft, r.top, r.buttonWidth, 375);
    }
    cmdPattern =
        AddButton(*this, "cmdPattern", "", "Change the background pattern. Right-click to clear.",
                  3120, 480, 615, 375);
    cmdSave = AddButton(*this, "cmdSave", "&Save and Exit",
                        "Save the settings (and exit this screen).", 120, 2760, 1575, 495);
    cmdRevert = AddButton(*this, "cmdRevert", "&Revert", nullptr, 3120, 2760, 1575, 495);
    cmdCancel = AddButton(*this, "cmdCancel", "E&xit", "Exit this screen (without saving changes).",
                          6360, 2760, 1575, 495);

    for (size_t n = 0; n < cmdColor.size(); ++n)
        shpColor[n] = AddButtonShadow(*this, *cmdColor[n], QStringLiteral("shpColor%1").arg(n));
    shpPattern = AddButtonShadow(*this, *cmdPattern, "shpPattern");
    shpSave = AddButtonShadow(*this, *cmdSave, "shpSave");
    shpRevert = AddButtonShadow(*this, *cmdRevert, "shpRevert");
    shpCancel = AddButtonShadow(*this, *cmdCancel, "shpCancel");

    lblOldBackPattern = new QLabel(this);
    lblOldBackPattern->setObjectName("lblOldBackPattern");
    PlaceAt(*lblOldBackPattern, 240, 2520, 1575, 255);
    lblOldBackPattern->hide();
}

void frmColors::ConnectButtons() {
    for (size_t n = 0; n < cmdColor.size(); ++n)
        connect(cmdColor[n], &QPushButton::clicked, this,
                [this, n] { cmdColor_Click(static_cast<int>(n)); });
    connect(cmdPattern, &QPushButton::clicked, this, &frmColors::cmdPattern_Click);
    cmdPattern->installEventFilter(this);
    connect(cmdRevert, &QPushButton::clicked, this, &frmColors::cmdRevert_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmColors::cmdCancel_Click);
    connect(cmdSave, &QPushButton::clicked, this, [this] {
        if (SaveColors()) close();
    });
}

void frmColors::ShowColor(int n) {
    cmdColor[static_cast<size_t>(n)]->setStyleSheet(
        ColorSheet(ColorFromNumber(colors_[static_cast<size_t>(n)])));
}

void frmColors::ShowPattern() {
    cmdPattern->setStyleSheet(ColorSheet(Qt::black));
    cmdPattern->setIcon(QIcon());
    const std::string& pattern = app_.settings.BackPattern;
    if (pattern.empty()) return;
    QPixmap image;
    try {
        image.load(QString::fromStdString(app_.fs->HostPath(pattern)));
    } catch (const PlatformError&) {
        // The scheme has already reported an unloadable pattern; the button stays black.
    }
    if (image.isNull()) return;
    const QSize size = cmdPattern->size() - QSize(2, 2);
    cmdPattern->setIconSize(size);
    cmdPattern->setIcon(QIcon(Swatch(image, size)));
}

void frmColors::cmdColor_Click(int n) {
    const std::optional<QColor> chosen = chooseColor ? chooseColor() : std::nullopt;
    if (!chosen || !chosen->isValid()) return;
    colors_[static_cast<size_t>(n)] = NumberFromColor(*chosen);
    ShowColor(n);
    ColorsChanged = true;
}

void frmColors::cmdPattern_Click() {
    const std::string host = chooseImage ? chooseImage() : std::string();
    if (host.empty()) return;
    const std::string pattern = app_.fs->WindowsPath(host);
    // A file that is no picture would leave every window unable to draw its pattern, and one
    // that start-up would drop (a PNG, a path too long for the reader) vanishes at the next start.
    if (!PatternSurvivesRestart(pattern) || QPixmap(QString::fromStdString(host)).isNull()) {
        ReportError(app_.desktop, kInvalidPicture, "Invalid picture", "frmColors_cmdPattern_Click");
        return;
    }
    app_.settings.BackPattern = pattern;
    ShowPattern();
}

void frmColors::ClearPattern() {
    app_.settings.BackPattern.clear();
    ShowPattern();
}

void frmColors::cmdRevert_Click() {
    Settings defaults;
    const auto scheme = SchemeColors(defaults);
    for (size_t n = 0; n < colors_.size(); ++n) {
        colors_[n] = *scheme[n];
        ShowColor(static_cast<int>(n));
    }
    ClearPattern();
}

void frmColors::cmdCancel_Click() {
    app_.settings.BackPattern = lblOldBackPattern->text().toStdString();
    // The button shows what a Save at the coming question would write.
    ShowPattern();
    close();
}

bool frmColors::SaveColors() {
    Settings& s = app_.settings;
    try {
        const std::string ini = app_.fs->HostPath(s.iniPath);
        for (size_t n = 0; n < colors_.size(); ++n)
            WritePrivateProfileString("Colors", ColorKeys()[n], std::to_string(colors_[n]), ini);
        WritePrivateProfileString("AVSettings", "BackPattern", s.BackPattern, ini);
        WritePrivateProfileString("AVSettings", "MoveFile", s.MoveFile ? "True" : "False", ini);
    } catch (const PlatformError& e) {
        // Nothing is taken into memory and no "saved" notice follows a failed write.
        ReportError(app_.desktop, e, "frmColors_cmdSave_Click");
        return false;
    }
    const auto scheme = SchemeColors(s);
    for (size_t n = 0; n < colors_.size(); ++n) *scheme[n] = colors_[n];
    app_.desktop.ShowMsgBox("Your color settings have been saved.", style::kOKOnly, "Notice");
    ColorsChanged = false;
    return true;
}

void frmColors::closeEvent(QCloseEvent* event) {
    if (ColorsChanged) {
        const int reply = app_.desktop.ShowMsgBox(
            "You have changed the colors. Do you want to save these changes?", style::kYesNoCancel,
            "Save changes?");
        if (reply == answer::kYes) {
            if (!SaveColors()) return event->ignore();
        } else if (reply != answer::kNo) {
            return event->ignore();
        }
    }
    event->accept();
    done(QDialog::Rejected);
}

void frmColors::reject() {
    // Escape closes like the close control, question included.
    close();
}

bool frmColors::eventFilter(QObject* watched, QEvent* event) {
    if (watched == cmdPattern && event->type() == QEvent::MouseButtonRelease) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::RightButton &&
            cmdPattern->rect().contains(mouse->position().toPoint()))
            ClearPattern();
    }
    return QDialog::eventFilter(watched, event);
}

void ShowColors(AppState& app, QWidget* owner) {
    frmColors dialog(app, owner);
    CenterOnScreen(dialog);
    dialog.exec();
}

}  // namespace bw
