#include "ui/frmPrefs.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>

#include "core/AppState.h"
#include "ui/FormColors.h"
#include "ui/HoverCursor.h"
#include "ui/QtColor.h"

namespace bw {

namespace {
constexpr int kShadow = 8;  // 120 twips
}

frmPrefs::frmPrefs(AppState& app, QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                         Qt::MSWindowsFixedSizeDialogHint),
      app_(app),
      logic_(app) {
    setObjectName("frmPrefs");
    setWindowTitle("Preferences");
    setModal(true);
    setFixedSize(470, 400);

    AddShape("shpApplicationSettings", {12, 12, 446, 30}, false);
    QLabel* title =
        AddLabel("lblApplicationSettings", "Application Preferences", {20, 16, 430, 22});
    QFont big = title->font();
    big.setBold(true);
    big.setPointSizeF(big.pointSizeF() * 1.2);
    title->setFont(big);

    AddShape("shpPoserFolder", {12, 52, 446, 68}, false);
    AddLabel("lblPoserLocation", "Location of Poser4\\Runtime folder:", {20, 58, 430, 20});
    txtPoserFolder_ = new QLineEdit(this);
    txtPoserFolder_->setObjectName("txtPoserFolder");
    // The folder comes from the browser only, so the file and memory never disagree.
    txtPoserFolder_->setReadOnly(true);
    txtPoserFolder_->setGeometry(20, 82, 380, 26);
    cmdPoserFolder_ = AddButton("cmdPoserFolder", "...", nullptr, {408, 82, 40, 26});

    AddShape("shpFolderOptions", {12, 130, 446, 210}, false);
    AddLabel("lblFolderOptions", "Folder/ File Options:", {20, 136, 430, 20});
    chkStartinLastFolder_ = AddCheck("chkStartinLastFolder", "Start in last folder opened?",
                                     nullptr, {28, 160, 420, 22});
    chkShowRelPathName_ =
        AddCheck("chkShowRelPathName", "Show path names relative to \\Runtime folder?", nullptr,
                 {28, 184, 420, 22});
    chkProtectSystemFilesFolders_ =
        AddCheck("chkProtectSystemFilesFolders", "Protect system files and folders?",
                 "Click this option to protect system files and folders from accidental changes.",
                 {28, 208, 420, 22});
    chkConfirmDelete_ = AddCheck("chkConfirmDelete", "Ask for confirmation before deleting files?",
                                 nullptr, {28, 232, 420, 22});
    chkBackUpFigure_ =
        AddCheck("chkBackUpFigure", "Create a back up of figure file before changing?",
                 "Check this option to create a backup figure file before making any changes "
                 "(such as fixing a 'discrepancy').",
                 {28, 256, 420, 22});
    AddLabel("lblWhenDeleting", "When deleting files or folders:", {20, 284, 430, 20});
    optMoveToRecycle_ = new QRadioButton("Move to Recycle Bin", this);
    optMoveToRecycle_->setObjectName("optMoveToRecycle");
    optMoveToRecycle_->setGeometry(28, 306, 200, 22);
    optDelete_ = new QRadioButton("Delete immediately", this);
    optDelete_->setObjectName("optDelete");
    optDelete_->setGeometry(240, 306, 200, 22);
    auto* group = new QButtonGroup(this);
    group->addButton(optMoveToRecycle_);
    group->addButton(optDelete_);

    cmdSave_ = AddButton("cmdSave", "&Save and Exit", "Save the settings (and exit this screen).",
                         {150, 354, 140, 30});
    cmdCancel_ = AddButton("cmdCancel", "E&xit", "Exit this screen (without saving changes).",
                           {306, 354, 140, 30});
    AddShape("shpSave", cmdSave_->geometry().translated(kShadow / 2, kShadow / 2), true)
        ->stackUnder(cmdSave_);
    AddShape("shpCancel", cmdCancel_->geometry().translated(kShadow / 2, kShadow / 2), true)
        ->stackUnder(cmdCancel_);

    connect(cmdPoserFolder_, &QPushButton::clicked, this, [this] {
        txtPoserFolder_->setText(
            QString::fromStdString(logic_.BrowseForRuntime(txtPoserFolder_->text().toStdString())));
    });
    connect(chkProtectSystemFilesFolders_, &QCheckBox::clicked, this, [this](bool checked) {
        const bool keep = logic_.ProtectClicked(checked);
        if (keep != checked) chkProtectSystemFilesFolders_->setChecked(keep);
    });
    connect(chkStartinLastFolder_, &QCheckBox::clicked, this,
            [this] { logic_.StartInLastFolderClicked(); });
    connect(optDelete_, &QRadioButton::clicked, this, [this] { logic_.MoveFileChosen(false); });
    connect(optMoveToRecycle_, &QRadioButton::clicked, this,
            [this] { logic_.MoveFileChosen(true); });
    connect(cmdSave_, &QPushButton::clicked, this, &frmPrefs::OnSave);
    connect(cmdCancel_, &QPushButton::clicked, this, [this] { close(); });

    cmdPoserFolder_->setFocus();
    LoadValues();
    ApplyFormColors(*this, app_.settings, app_.desktop, &app_.fs->driveMap());
    InstallHoverCursor(*this);
}

QLabel* frmPrefs::AddLabel(const char* name, const char* text, const QRect& where) {
    auto* l = new QLabel(text, this);
    l->setObjectName(name);
    l->setGeometry(where);
    return l;
}

QCheckBox* frmPrefs::AddCheck(const char* name, const char* text, const char* tip,
                              const QRect& where) {
    auto* c = new QCheckBox(text, this);
    c->setObjectName(name);
    if (tip) c->setToolTip(tip);
    c->setGeometry(where);
    return c;
}

QWidget* frmPrefs::AddShape(const char* name, const QRect& where, bool shadow) {
    auto* f = new QFrame(this);
    f->setObjectName(name);
    f->setGeometry(where);
    if (shadow) {
        f->setAutoFillBackground(true);
        QPalette p = f->palette();
        p.setColor(QPalette::Window, ColorFromNumber(app_.settings.ShadowColor));
        f->setPalette(p);
    } else {
        f->setFrameShape(QFrame::Box);
        f->setFrameShadow(QFrame::Plain);
    }
    f->lower();
    return f;
}

QPushButton* frmPrefs::AddButton(const char* name, const char* text, const char* tip,
                                 const QRect& where) {
    auto* b = new QPushButton(text, this);
    b->setObjectName(name);
    if (tip) b->setToolTip(tip);
    b->setGeometry(where);
    b->setAutoDefault(false);
    return b;
}

void frmPrefs::LoadValues() {
    const PrefsValues v = logic_.Load();
    txtPoserFolder_->setText(QString::fromStdString(v.poserFolder));
    optMoveToRecycle_->setChecked(v.moveToRecycle);
    optDelete_->setChecked(!v.moveToRecycle);
    chkStartinLastFolder_->setChecked(v.startInLastFolder);
    chkShowRelPathName_->setChecked(v.showRelPathName);
    chkProtectSystemFilesFolders_->setChecked(v.protectSystemFilesFolders);
    chkConfirmDelete_->setChecked(v.confirmDelete);
    chkBackUpFigure_->setChecked(v.backUpFigure);
}

PrefsValues frmPrefs::Values() const {
    return {txtPoserFolder_->text().toStdString(), chkStartinLastFolder_->isChecked(),
            chkShowRelPathName_->isChecked(),      chkProtectSystemFilesFolders_->isChecked(),
            chkConfirmDelete_->isChecked(),        chkBackUpFigure_->isChecked(),
            optMoveToRecycle_->isChecked()};
}

void frmPrefs::OnSave() {
    if (!logic_.Save(Values())) return;  // reported; the dialog stays so nothing is lost
    closing_ = true;
    done(QDialog::Accepted);
}

bool frmPrefs::MayClose() {
    if (closing_) return true;
    switch (logic_.AskBeforeClose()) {
        case PrefsLogic::CloseDecision::Close:
            return true;
        case PrefsLogic::CloseDecision::Save:
            return logic_.Save(Values());
        case PrefsLogic::CloseDecision::Stay:
            return false;
    }
    return false;
}

void frmPrefs::closeEvent(QCloseEvent* event) {
    if (MayClose()) {
        closing_ = true;
        event->accept();
        done(QDialog::Rejected);
    } else {
        event->ignore();
    }
}

void frmPrefs::reject() {
    if (!MayClose()) return;
    closing_ = true;
    QDialog::reject();
}

void ShowPreferences(AppState& app, QWidget* owner) {
    frmPrefs dialog(app, owner);
    // Dialogs open centred on the screen.
    if (QScreen* screen = owner ? owner->screen() : QApplication::primaryScreen())
        dialog.move(screen->availableGeometry().center() - dialog.rect().center());
    dialog.exec();
}

}  // namespace bw
