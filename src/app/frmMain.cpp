#include "app/frmMain.h"

#include <QApplication>
#include <QHeaderView>
#include <QMessageBox>
#include <QTreeView>

#include "app/AppState.h"
#include "app/ImageList.h"
#include "browser/TreeModel.h"
#include "browser/TreePopulation.h"
#include "dialogs/MsgBox.h"

namespace bw {

namespace {
constexpr auto kPumpInterval = std::chrono::milliseconds(15);
}

frmMain::frmMain(QWidget* parent) : QMainWindow(parent), images_(std::make_unique<ImageList>()) {
    setObjectName("frmMain");
    setWindowTitle(kAppTitle);
    treMain_ = new QTreeView(this);
    treMain_->setObjectName("treMain");
    treMain_->setHeaderHidden(true);
    treMain_->setUniformRowHeights(true);
    treMain_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    treMain_->setIconSize(QSize(16, 16));
    setCentralWidget(treMain_);
}

frmMain::~frmMain() {
    // The view lets go of the model before the model goes.
    if (treMain_) treMain_->setModel(nullptr);
}

void frmMain::Load(AppState& app) {
    app_ = &app;
    model_ = std::make_unique<TreeModel>(app.tree, *images_);
    treMain_->setModel(model_.get());
    connect(treMain_, &QTreeView::expanded, this, &frmMain::OnExpanded);
    connect(treMain_, &QTreeView::collapsed, this, &frmMain::OnCollapsed);
    connect(model_.get(), &TreeModel::expandRequested, this,
            [this](const QModelIndex& i, bool on) { treMain_->setExpanded(i, on); });
    GetDrives(app);
}

void frmMain::OnExpanded(const QModelIndex& index) {
    Node* n = TreeModel::NodeOf(index);
    if (!n || n->expanded()) return;  // the core expanded it itself
    n->SetExpanded(true);
    ExpandNode(*app_, *n);
}

void frmMain::OnCollapsed(const QModelIndex& index) {
    Node* n = TreeModel::NodeOf(index);
    if (!n || !n->expanded()) return;
    n->SetExpanded(false);
    CollapseNode(*app_, *n);
}

int frmMain::ShowMsgBox(const std::string& prompt, int style, const std::string& title) {
    return bw::ShowMsgBox(prompt, style, title, app_->settings);
}

std::string frmMain::ShowInputBox(const std::string& prompt, int style, const std::string& title,
                                  const std::string& defaultText) {
    return bw::ShowInputBox(prompt, style, title, defaultText, app_->settings, this);
}

void frmMain::ShowSystemMessage(const std::string& prompt, const std::string& title) {
    QMessageBox::information(this, QString::fromStdString(title), QString::fromStdString(prompt));
}

void frmMain::SetCaption(const std::string& caption) { setWindowTitle(QString::fromStdString(caption)); }

std::string frmMain::Caption() const { return windowTitle().toStdString(); }

void frmMain::SetBusy(bool busy) {
    if (busy)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
}

void frmMain::DoEvents() {
    // Pumping costs far more than a line of work: do it only every ~15 ms.
    auto now = std::chrono::steady_clock::now();
    if (now - lastPump_ < kPumpInterval) return;
    lastPump_ = now;
    QApplication::processEvents();
}

}  // namespace bw
