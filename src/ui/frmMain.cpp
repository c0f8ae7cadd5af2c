#include "ui/frmMain.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCursor>
#include <QFileDialog>
#include <QGroupBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QSplitter>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QTreeView>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "browser/CommandDispatch.h"
#include "browser/ExpandBranch.h"
#include "browser/History.h"
#include "browser/ReopenLastFolder.h"
#include "browser/RevealFile.h"
#include "browser/Selection.h"
#include "core/AppState.h"
#include "core/MainWindowState.h"
#include "core/ReportError.h"
#include "core/TreePopulation.h"
#include "fileops/Clipboard.h"
#include "platform/PlatformError.h"
#include "preview/PreviewRequest.h"
#include "repair/RepairJournal.h"
#include "ui/FormColors.h"
#include "ui/HoverCursor.h"
#include "ui/ImageList.h"
#include "ui/LibraryUsage.h"
#include "ui/MsgBox.h"
#include "ui/PreviewPane.h"
#include "ui/QtColor.h"
#include "ui/RepairFlow.h"
#include "ui/TreeModel.h"
#include "ui/TwipLayout.h"
#include "ui/frmAbout.h"
#include "ui/frmCheck.h"
#include "ui/frmColors.h"
#include "ui/frmPrefs.h"

namespace bw {

namespace {

constexpr auto kPumpInterval = std::chrono::milliseconds(15);
// Margins of the tree inside the window, and the shadow's offset (120 twips).
constexpr int kMargin = 8;
constexpr int kShadowOffset = 120 / kTwipsPerPixel;
constexpr int kMinWidth = static_cast<int>(kMinWidthTwips) / kTwipsPerPixel;
constexpr int kMinHeight = static_cast<int>(kMinHeightTwips) / kTwipsPerPixel;

struct ToolbarButton {
    const char* key;
    const char* caption;  // null: a separator
    const char* tooltip;
};

constexpr ToolbarButton kToolbar[] = {
    {"Back", "Back", "Back one step"},
    {"Forward", "Forward", "Forward one step"},
    {"Refresh", "Refresh", "Refresh the information for this file or folder."},
    {"Separator1", nullptr, nullptr},
    {"Cut", "Cut", ""},
    {"Copy", "Copy", ""},
    {"Paste", "Paste", ""},
    {"Separator4", nullptr, nullptr},
    {"Open", "Open", "Open file (in default application) or folder (in Explorer)."},
    {"Delete", "Delete", "Delete"},
    {"Rename", "Rename", "Rename this"},
    {"Separator2", nullptr, nullptr},
    {"PrintContents", "Print", "Print the contents of this folder or drive to a text file."},
    {"Separator3", nullptr, nullptr},
    {"Exit", "Exit", "Exit this program."},
};

// Shadows are filled in the user's shadow colour, whatever the window's own scheme does.
void PaintShadow(QWidget* shape, const Settings& settings) {
    QPalette p = shape->palette();
    p.setColor(QPalette::Window, ColorFromNumber(settings.ShadowColor));
    shape->setPalette(p);
}

bool IsFileSystemTag(const std::string& t) {
    return t == tag::kDrive || t == tag::kFolder || t == tag::kSystemFolder || t == tag::kFile ||
           t == tag::kSystemFile;
}

// "Text files (*.txt)|*.txt|All files (*.*)|*.*" as Qt wants it: the descriptions, ";;"-joined.
QString QtFilter(const std::string& filter) {
    const QStringList parts = QString::fromStdString(filter).split('|');
    if (parts.size() < 2) return QString::fromStdString(filter);
    QStringList names;
    for (int i = 0; i < parts.size(); i += 2) names << parts[i];
    return names.join(";;");
}

}  // namespace

frmMain::frmMain(QWidget* parent)
    : QMainWindow(parent),
      journalRoot(repair::DefaultJournalRoot()),
      images_(std::make_unique<ImageList>()) {
    setObjectName("frmMain");
    setWindowTitle(kAppTitle);
    setMinimumSize(kMinWidth, kMinHeight);

    body_ = new QWidget(this);
    body_->setObjectName("body");
    body_->installEventFilter(this);
    setCentralWidget(body_);

    // Hidden, the pane leaves the splitter, and so the tree, exactly the tree's own place.
    splPreview_ = new QSplitter(Qt::Horizontal, body_);
    splPreview_->setObjectName("splPreview");
    splPreview_->setChildrenCollapsible(false);
    treMain_ = new QTreeView(splPreview_);
    splPreview_->addWidget(treMain_);
    treMain_->setObjectName("treMain");
    treMain_->setHeaderHidden(true);
    treMain_->setUniformRowHeights(true);
    // Names change only through the Rename command, never by editing in place.
    treMain_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    treMain_->setSelectionMode(QAbstractItemView::SingleSelection);
    treMain_->setIconSize(QSize(16, 16));
    treMain_->viewport()->installEventFilter(this);
    treMain_->installEventFilter(this);

    BuildToolbar();
    BuildMenus();
    BuildScanPanel();
    InstallHoverCursor(*this);
}

frmMain::~frmMain() {
    // The view lets go of the model before the model goes.
    if (treMain_) treMain_->setModel(nullptr);
}

void frmMain::BuildToolbar() {
    tlbMain_ = new QToolBar(this);
    tlbMain_->setObjectName("tlbMain");
    tlbMain_->setMovable(false);
    tlbMain_->setFloatable(false);
    tlbMain_->setContextMenuPolicy(Qt::PreventContextMenu);
    tlbMain_->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    tlbMain_->setIconSize(QSize(24, 24));
    addToolBar(Qt::TopToolBarArea, tlbMain_);

    for (const ToolbarButton& b : kToolbar) {
        if (!b.caption) {
            tlbMain_->addSeparator()->setObjectName(b.key);
            continue;
        }
        const std::string key = b.key;
        QAction* a = tlbMain_->addAction(b.caption);
        a->setObjectName(b.key);
        // The one button that shares a picture: the listing shows the printer.
        const QPixmap pic = images_->Pixmap(key == "PrintContents" ? "Print" : key);
        if (!pic.isNull()) a->setIcon(QIcon(pic));
        a->setToolTip(b.tooltip);
        connect(a, &QAction::triggered, this, [this, key] { RunToolbar(key); });
        actions_[key] = a;
        wanted_[a] = true;
    }

    auto* printMenu = new QMenu(this);
    printMenu->setObjectName("PrintContentsMenu");
    for (auto [key, caption] :
         {std::pair{"PrintFiles", "Print folder contents"},
          std::pair{"PrintFolders", "Print folder AND all sub-folder contents"}}) {
        QAction* a = printMenu->addAction(caption);
        a->setObjectName(key);
        const std::string k = key;
        connect(a, &QAction::triggered, this, [this, k] { RunToolbar(k); });
        actions_[k] = a;
        wanted_[a] = true;
    }
    if (auto* button =
            qobject_cast<QToolButton*>(tlbMain_->widgetForAction(actions_["PrintContents"]))) {
        button->setObjectName("PrintContentsButton");
        button->setMenu(printMenu);
        button->setPopupMode(QToolButton::MenuButtonPopup);
    }
}

QAction* frmMain::AddMenuItem(QMenu* menu, const char* name, const char* caption,
                              const QKeySequence& key) {
    QAction* a = menu->addAction(caption);
    a->setObjectName(name);
    a->setShortcut(key);
    const std::string item = name;
    connect(a, &QAction::triggered, this, [this, item] { RunMenu(item); });
    actions_[item] = a;
    wanted_[a] = true;
    return a;
}

void frmMain::BuildMenus() {
    auto addMenu = [this](const char* name, const char* caption) {
        QMenu* m = menuBar()->addMenu(caption);
        m->setObjectName(name);
        return m;
    };
    auto addLine = [](QMenu* m, const char* name) { m->addSeparator()->setObjectName(name); };

    QMenu* file = addMenu("mnuFile", "&File");
    AddMenuItem(file, "mnuExit", "E&xit", QKeySequence("Ctrl+Q"));

    QMenu* edit = addMenu("mnuEdit", "&Edit");
    AddMenuItem(edit, "mnuCut", "Cu&t", QKeySequence("Ctrl+X"));
    AddMenuItem(edit, "mnuCopy", "&Copy", QKeySequence("Ctrl+C"));
    AddMenuItem(edit, "mnuPaste", "&Paste", QKeySequence("Ctrl+V"));
    addLine(edit, "mnuLine1");
    AddMenuItem(edit, "mnuRenameNode", "R&ename", QKeySequence(Qt::Key_F2));
    AddMenuItem(edit, "mnuDeleteNode", "&Delete", QKeySequence(Qt::Key_Delete));
    addLine(edit, "mnuEditLine2");
    AddMenuItem(edit, "mnuRefresh", "&Refresh", QKeySequence(Qt::Key_F5));
    addLine(edit, "mnuEditLineRefresh");
    AddMenuItem(edit, "mnuOpen", "&Open", QKeySequence("Ctrl+O"));
    AddMenuItem(edit, "mnuPrintFolder", "&Print Folder Contents", QKeySequence("Ctrl+P"));
    addLine(edit, "mnuEditLineRepair");
    QAction* undoRepair = edit->addAction("&Undo Last Repair");
    undoRepair->setObjectName("mnuUndoRepair");
    connect(undoRepair, &QAction::triggered, this, &frmMain::UndoLastRepair);
    actions_["mnuUndoRepair"] = undoRepair;
    wanted_[undoRepair] = true;
    mnuEdit_ = edit;

    QMenu* options = addMenu("mnuOptions", "&Options");
    AddMenuItem(options, "mnuPreferences", "&Preferences", QKeySequence());
    AddMenuItem(options, "mnuColors", "&Colors", QKeySequence());
    QAction* preview = options->addAction("Show &Preview");
    preview->setObjectName("mnuShowPreview");
    preview->setShortcut(QKeySequence(Qt::Key_F3));
    preview->setCheckable(true);
    preview->setChecked(preview_.visible);
    connect(preview, &QAction::triggered, this, [this](bool on) { ShowPreview(on); });
    actions_["mnuShowPreview"] = preview;
    wanted_[preview] = true;

    QMenu* tools = addMenu("mnuTools", "&Tools");
    QAction* check = tools->addAction("Check &Library...");
    check->setObjectName("mnuCheckLibrary");
    connect(check, &QAction::triggered, this, &frmMain::ShowCheckLibrary);
    actions_["mnuCheckLibrary"] = check;
    wanted_[check] = true;

    QMenu* help = addMenu("mnuHelp", "&Help");
    AddMenuItem(help, "mnuAbout", "&About", QKeySequence(Qt::Key_F1));

    menus_[0] = file;
    menus_[1] = edit;
    menus_[2] = options;
    menus_[3] = tools;
    menus_[4] = help;
}

void frmMain::ShowCheckLibrary() {
    if (!app_ || scanning_ || expandingAll_) return;
    if (!check_) {
        check_ = std::make_unique<frmCheck>(
            *app_, [this](const std::string& file) { return RevealLibraryFile(file); }, this);
        check_->journalRoot = journalRoot;
        check_->wroteLibraryFiles = [this] { ShowFilesRewritten(); };
    }
    check_->Open();
}

void frmMain::UndoLastRepair() {
    if (!app_ || scanning_ || expandingAll_) return;
    if (RunUndoLastRepair(*app_, this, journalRoot)) ShowRepaired();
}

void frmMain::ShowRepaired() {
    ShowFilesRewritten();
    if (app_ && !unloaded_ && check_ && check_->isVisible()) check_->StartCheck();
}

void frmMain::ShowFilesRewritten() {
    // A scan walks the tree meanwhile; the next refresh shows the files then.
    if (!app_ || unloaded_ || scanning_ || expandingAll_) return;
    ListScansAnew(*app_);
    RefreshCurrentNode(*app_);
    FollowCurrentNode();
    UpdatePreview(true);
}

bool frmMain::RevealLibraryFile(const std::string& hostPath) {
    if (!app_ || scanning_ || expandingAll_ || unloaded_) return false;
    RecordVisit(*app_);
    RevealFile(*app_, app_->fs->WindowsPath(hostPath));
    FollowCurrentNode();
    if (isMinimized()) showNormal();
    raise();
    activateWindow();
    treMain_->setFocus(Qt::OtherFocusReason);
    return true;
}

void frmMain::BuildScanPanel() {
    pctShadow_ = new QFrame(body_);
    pctShadow_->setObjectName("pctShadow");
    pctShadow_->setAutoFillBackground(true);

    // Laid out in twips, like every other window of the program.
    fraScan_ = new QGroupBox("Scanning for ", body_);
    fraScan_->setObjectName("fraScan");
    fraScan_->setAutoFillBackground(true);
    fraScan_->setFixedSize(Px(7935), Px(2055));

    lblStatus_ = new QLabel("Status...", fraScan_);
    lblStatus_->setObjectName("lblStatus");
    PlaceAt(*lblStatus_, 120, 480, 7695, 255);

    pctBack_ = new QFrame(fraScan_);
    pctBack_->setObjectName("pctBack");
    pctBack_->setFrameShape(QFrame::Panel);
    pctBack_->setFrameShadow(QFrame::Sunken);
    PlaceAt(*pctBack_, 120, 720, 7695, 255);

    pctProgress_ = new QFrame(pctBack_);
    pctProgress_->setObjectName("pctProgress");
    pctProgress_->setAutoFillBackground(true);
    QPalette bar = pctProgress_->palette();
    bar.setColor(QPalette::Window, QColor(0, 0, 128));
    pctProgress_->setPalette(bar);
    pctProgress_->setGeometry(0, 0, 0, pctBack_->height());

    cmdCancel_ = new QPushButton("&Stop Scan", fraScan_);
    cmdCancel_->setObjectName("cmdCancel");
    cmdCancel_->setToolTip("Stop the scanning process.");
    PlaceAt(*cmdCancel_, 3120, 1200, 1575, 495);
    shpCancel_ = AddButtonShadow(*fraScan_, *cmdCancel_, "shpCancel");
    connect(cmdCancel_, &QPushButton::clicked, this, [this] {
        if (app_) app_->StopScanRequested = true;
    });

    fraScan_->hide();
    pctShadow_->hide();
}

void frmMain::LayoutBody() {
    if (isMinimized()) return;
    const QSize area = body_->size();
    const QRect treeArea(kMargin, kMargin / 2, std::max(0, area.width() - 2 * kMargin),
                         std::max(0, area.height() - kMargin / 2 - kMargin));
    splPreview_->setGeometry(treeArea);
    if (fraPreview_ && preview_.visible) {
        // At most half of what the handle leaves, less the handle again: the tree keeps half.
        const int handle = splPreview_->handleWidth();
        const int room = treeArea.width() - 2 * handle;
        fraPreview_->setMaximumWidth(std::max(room / 2, kMinPreviewWidth));
        const int pane = PreviewWidthWithin(preview_.width, room);
        splPreview_->setSizes({treeArea.width() - handle - pane, pane});
    }
    fraScan_->move((area.width() - fraScan_->width()) / 2,
                   (area.height() - fraScan_->height()) / 2);
    pctShadow_->setGeometry(fraScan_->geometry().translated(kShadowOffset, kShadowOffset));
}

bool frmMain::eventFilter(QObject* watched, QEvent* event) {
    if (watched == body_ && event->type() == QEvent::Resize) {
        LayoutBody();
    } else if (!app_ || !treMain_ || forwarding_ ||
               (watched != treMain_ && watched != treMain_->viewport())) {
    } else if (HoldTreeInput(event)) {
        return true;
    } else if (watched == treMain_ && event->type() == QEvent::KeyPress && !keyboard_) {
        if (static_cast<QKeyEvent*>(event)->key() == Qt::Key_Asterisk) {
            // The view's own expand-all would read every folder below, links included, in one
            // go: the program's own walk stays live and stoppable.
            ExpandAllFromCurrent();
            return true;
        }
        // The view handles the key here, so a move of its current row is known to come from the
        // keyboard; rows that move because the tree was refilled select nothing.
        keyboard_ = true;
        static_cast<QObject*>(treMain_)->event(event);
        keyboard_ = false;
        FollowCurrentNode();
        return true;
    } else if (watched == treMain_->viewport()) {
        if (event->type() == QEvent::MouseButtonPress) {
            OnTreePress(static_cast<QMouseEvent*>(event));
        } else if (event->type() == QEvent::MouseButtonRelease) {
            // The view finishes its own press-drag-release first (it may move its highlight on
            // release); then the click selects, and the highlight is put where the commands act.
            forwarding_ = true;
            QApplication::sendEvent(treMain_->viewport(), event);
            forwarding_ = false;
            event->accept();
            OnTreeRelease(static_cast<QMouseEvent*>(event));
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

bool frmMain::HoldTreeInput(QEvent* event) {
    if (!scanning_ && !expandingAll_) return false;
    switch (event->type()) {
        case QEvent::KeyPress:
            if (static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) stopExpandAll_ = true;
            return true;
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
            stopExpandAll_ = true;  // a scan is stopped by its own button only
            return true;
        case QEvent::KeyRelease:
        case QEvent::MouseButtonRelease:
        case QEvent::ContextMenu:
            return true;
        default:
            return false;
    }
}

void frmMain::Load(AppState& app) {
    app_ = &app;
    usage_ = std::make_unique<LibraryUsage>(app);
    usage_->journalRoot = journalRoot;
    // A move's references are rewritten through the same preview and journal as a repair.
    usage_->repairChanges = [this](const std::vector<repair::ReferenceChange>& changes) {
        if (app_ && RunRepairBatch(*app_, this, changes, journalRoot)) ShowRepaired();
    };
    app.usage = usage_.get();
    model_ = std::make_unique<TreeModel>(app.tree, *images_);
    treMain_->setModel(model_.get());
    connect(treMain_, &QTreeView::expanded, this, &frmMain::OnExpanded);
    connect(treMain_, &QTreeView::collapsed, this, &frmMain::OnCollapsed);
    connect(model_.get(), &TreeModel::expandRequested, this,
            [this](const QModelIndex& i, bool on) { treMain_->setExpanded(i, on); });
    connect(model_.get(), &TreeModel::selectRequested, this, &frmMain::OnSelectRequested);
    connect(treMain_->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current, const QModelIndex&) { OnCurrentChanged(current); });

    app.NodeHistory.assign(1, NodeHandle());
    app.HistoryPosition = 0;
    for (const char* c : {"Back", "Forward", "Refresh", "Delete", "Open", "PrintContents", "Rename",
                          "Paste", "mnuDeleteNode", "mnuPaste"})
        app.commands.Enable(c, false);
    EnableCutCopy(app, false);

    try {
        preview_ = ReadPreviewSettings(app.fs->HostPath(app.settings.iniPath));
    } catch (const PlatformError&) {
        preview_ = PreviewSettings();  // no settings file to read: the defaults
    }
    // Framed like the tree beside it, and filled, so that a background pattern never runs
    // behind the pane's text.
    fraPreview_ = new QFrame(splPreview_);
    fraPreview_->setObjectName("fraPreview");
    fraPreview_->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    fraPreview_->setMinimumWidth(kMinPreviewWidth);
    picPreview_ = new PreviewPane(*app.fs, fraPreview_);
    auto* frameLayout = new QVBoxLayout(fraPreview_);
    frameLayout->setContentsMargins(2, 2, 2, 2);
    frameLayout->addWidget(picPreview_);
    splPreview_->addWidget(fraPreview_);
    splPreview_->setStretchFactor(0, 1);
    splPreview_->setStretchFactor(1, 0);
    fraPreview_->setVisible(preview_.visible);
    Command("mnuShowPreview")->setChecked(preview_.visible);
    connect(splPreview_, &QSplitter::splitterMoved, this, [this] {
        if (preview_.visible) preview_.width = fraPreview_->width();
    });

    const QRect desk = QGuiApplication::primaryScreen()->availableVirtualGeometry();
    const Placement p =
        FitOnScreen(ReadPlacement(app), {float(Twips(desk.x())), float(Twips(desk.y())),
                                         float(Twips(desk.width())), float(Twips(desk.height()))});
    move(Px(p.left), Px(p.top));
    resize(std::max(Px(p.width), kMinWidth), std::max(Px(p.height), kMinHeight));
    show();

    ApplyFormColors(*this, app.settings, *this, &app.fs->driveMap());
    PaintShadow(pctShadow_, app.settings);
    PaintShadow(shpCancel_, app.settings);
    GetDrives(app);
    AskForRuntimeIfUnset(app, [this] { ShowPreferences(*app_, this); });

    if (app.settings.StartInLastFolder) {
        setEnabled(false);
        ReopenLastFolder(app);
        setEnabled(true);
    }
    // Disabling the window took the focus away: the arrow keys work on the tree from the start.
    FollowCurrentNode();
    treMain_->setFocus(Qt::OtherFocusReason);
}

void frmMain::Detach() {
    check_.reset();
    if (app_) app_->usage = nullptr;
    usage_.reset();
    // The pane reads through the program's file system access object, which goes with the state.
    delete picPreview_;
    picPreview_ = nullptr;
    treMain_->setModel(nullptr);
    model_.reset();
    app_ = nullptr;
}

QAction* frmMain::Command(const std::string& name) const {
    auto it = actions_.find(name);
    return it == actions_.end() ? nullptr : it->second;
}

void frmMain::ApplyActionStates() {
    // An expand-all leaves only Exit in use, which stops the walk and then closes.
    const QAction* exits[] = {Command("Exit"), Command("mnuExit")};
    for (auto [action, on] : wanted_) {
        const bool exit = action == exits[0] || action == exits[1];
        action->setEnabled(on && !scanning_ && (!expandingAll_ || exit));
    }
}

void frmMain::CommandsChanged() {
    if (!app_) return;
    for (const auto& [name, on] : app_->commands.enabled)
        if (QAction* a = Command(name)) wanted_[a] = on;
    for (const auto& [key, tip] : app_->commands.tooltip)
        if (QAction* a = Command(key)) a->setToolTip(QString::fromStdString(tip));
    for (const auto& [item, caption] : app_->commands.caption)
        if (QAction* a = Command(item)) a->setText(QString::fromStdString(caption));
    ApplyActionStates();
}

void frmMain::RunToolbar(const std::string& key) {
    if (!app_ || scanning_) return;
    if (expandingAll_) {
        stopExpandAll_ = true;
        if (key == "Exit") close();
        return;
    }
    RunWindowAction(static_cast<int>(RunToolbarCommand(*app_, key)));
    FollowCurrentNode();
    UpdatePreview(true);
}

void frmMain::RunMenu(const std::string& item) {
    if (!app_ || scanning_) return;
    if (expandingAll_) {
        stopExpandAll_ = true;
        if (item == "mnuExit") close();
        return;
    }
    RunWindowAction(static_cast<int>(RunMenuCommand(*app_, item)));
    FollowCurrentNode();
    UpdatePreview(true);
}

void frmMain::RunWindowAction(int action) {
    switch (static_cast<WindowAction>(action)) {
        case WindowAction::Close:
            close();
            break;
        case WindowAction::ShowPreferences:
            ShowPreferences(*app_, this);
            break;
        case WindowAction::ShowColors:
            ShowColors(*app_, this);
            ApplyFormColors(*this, app_->settings, *this, &app_->fs->driveMap());
            PaintShadow(pctShadow_, app_->settings);
            PaintShadow(shpCancel_, app_->settings);
            break;
        case WindowAction::ShowAbout:
            ShowAbout(*app_, this);
            break;
        case WindowAction::None:
            break;
    }
}

void frmMain::OnTreePress(QMouseEvent* event) {
    mouseDown_ = true;
    const QPoint pos = event->position().toPoint();
    pressIndex_ = treMain_->indexAt(pos);
    RecordHistory(*app_, event->button() == Qt::RightButton ? 2 : 1);
}

void frmMain::OnTreeRelease(QMouseEvent* event) {
    if (mouseDown_) {
        mouseDown_ = false;
        ClickAt(event->position().toPoint());
    }
    // A press dragged to another row, or a click whose action removed its own row, leaves the
    // view's highlight elsewhere: it goes back to what the commands act on.
    FollowCurrentNode();
}

void frmMain::ClickAt(const QPoint& pos) {
    const QModelIndex index = treMain_->indexAt(pos);
    // A click on a node is press and release on its picture or text; the expand sign only opens.
    if (!index.isValid() || index != QModelIndex(pressIndex_) ||
        !treMain_->visualRect(index).contains(pos))
        return;
    Node* node = TreeModel::NodeOf(index);
    if (!node) return;
    programSelect_ = true;
    app_->tree.SetSelected(node);
    programSelect_ = false;
    SelectThisNode(*app_, node, SelectionSource::MouseClick);
}

void frmMain::OnCurrentChanged(const QModelIndex& current) {
    // Clicks are handled on release and the core's own selections come through the model; what
    // is left is the keyboard, which selects like a click.
    if (!keyboard_ || mouseDown_ || programSelect_ || !app_ || scanning_) return;
    keyboard_ = false;  // one key, one selection, whatever the selection's own work moves meanwhile
    Node* node = TreeModel::NodeOf(current);
    if (!node) return;
    RecordVisit(*app_);
    programSelect_ = true;
    app_->tree.SetSelected(node);
    programSelect_ = false;
    SelectThisNode(*app_, node);
}

void frmMain::OnSelectRequested(const QModelIndex& index) {
    const bool was = programSelect_;
    programSelect_ = true;
    if (index.isValid()) {
        treMain_->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
        treMain_->scrollTo(index);
    } else {
        treMain_->selectionModel()->clearSelection();
    }
    programSelect_ = was;
}

void frmMain::OnExpanded(const QModelIndex& index) {
    Node* n = TreeModel::NodeOf(index);
    if (!n || n->expanded()) return;  // the core expanded it itself
    n->SetExpanded(true);
    ExpandNode(*app_, *n);
    FollowCurrentNode();  // the refill may have taken CurrentNode away
}

void frmMain::OnCollapsed(const QModelIndex& index) {
    Node* n = TreeModel::NodeOf(index);
    if (!n || !n->expanded()) return;
    n->SetExpanded(false);
    CollapseNode(*app_, *n);
}

void frmMain::FollowCurrentNode() {
    if (!app_ || !model_ || unloaded_) return;
    QItemSelectionModel* selection = treMain_->selectionModel();
    Node* node = app_->CurrentNode.get();
    Node* selected = app_->tree.selected();
    if (!node && selected && IsFileSystemTag(selected->tag())) {
        // The program moved the selection itself while CurrentNode left the tree (a repair
        // selects its library file): that row is selected for real.
        SelectThisNode(*app_, selected);
        node = app_->CurrentNode.get();
    }
    const bool was = programSelect_;
    programSelect_ = true;
    if (node) {
        hadCurrent_ = true;
        app_->tree.SetSelected(node);
        const QModelIndex index = model_->IndexOf(node);
        if (treMain_->currentIndex() != index || !selection->isSelected(index))
            OnSelectRequested(index);
    } else {
        if (hadCurrent_) {
            hadCurrent_ = false;
            WithdrawNodeCommands(*app_);
        }
        app_->tree.SetSelected(nullptr);
        if (treMain_->currentIndex().isValid() || selection->hasSelection()) selection->clear();
    }
    programSelect_ = was;
    UpdatePreview(false);
}

void frmMain::UpdatePreview(bool again) {
    if (!picPreview_ || !app_ || unloaded_) return;
    const PreviewRequest request =
        preview_.visible ? PreviewRequestFor(app_->CurrentNode.get()) : PreviewRequest();
    if (again || request != picPreview_->request()) picPreview_->ShowRequest(request);
}

void frmMain::ShowPreview(bool on) {
    if (!picPreview_ || !app_) return;
    preview_.visible = on;
    fraPreview_->setVisible(on);
    splPreview_->refresh();  // the splitter would otherwise learn of it only later
    LayoutBody();
    UpdatePreview(false);
    try {
        WritePreviewSettings(preview_, app_->fs->HostPath(app_->settings.iniPath));
    } catch (const PlatformError& e) {
        ReportError(*this, e, "frmMain_mnuShowPreview_Click");
    }
}

void frmMain::ExpandAllFromCurrent() {
    Node* node = TreeModel::NodeOf(treMain_->currentIndex());
    if (!node) return;
    expandingAll_ = true;
    stopExpandAll_ = false;
    ApplyActionStates();
    ExpandBranch(*app_, *node, stopExpandAll_);
    expandingAll_ = false;
    ApplyActionStates();
    FollowCurrentNode();
    CloseIfPending();
}

void frmMain::CloseIfPending() {
    if (!closePending_) return;
    closePending_ = false;
    QTimer::singleShot(0, this, &QWidget::close);
}

void frmMain::closeEvent(QCloseEvent* event) {
    if (scanning_ || expandingAll_) {
        // The scan or the walk still holds nodes: ask it to stop and close once it has returned.
        if (app_ && scanning_) app_->StopScanRequested = true;
        stopExpandAll_ = true;
        closePending_ = true;
        event->ignore();
        return;
    }
    Unload();
    event->accept();
    QCoreApplication::quit();
}

void frmMain::Unload() {
    if (!app_ || unloaded_) return;
    unloaded_ = true;
    check_.reset();
    try {
        const QRect frame = frameGeometry();
        WritePlacement(*app_, {static_cast<float>(frame.x() * kTwipsPerPixel),
                               static_cast<float>(frame.y() * kTwipsPerPixel),
                               static_cast<float>(width() * kTwipsPerPixel),
                               static_cast<float>(height() * kTwipsPerPixel)});
    } catch (...) {
        // Closing must never fail: whatever could not be saved stays unsaved.
    }
    try {
        SaveLastFolder(*app_);
    } catch (...) {
        // Each setting is saved on its own, so one that fails costs no other.
    }
    ReleaseNodeReferences(*app_);
    try {
        WritePreviewSettings(preview_, app_->fs->HostPath(app_->settings.iniPath));
    } catch (...) {
        // Likewise; the pane's state is saved apart so that it never costs the placement.
    }
}

int frmMain::ShowMsgBox(const std::string& prompt, int style, const std::string& title) {
    static const Settings defaults;
    return bw::ShowMsgBox(prompt, style, title, app_ ? app_->settings : defaults, this,
                          app_ ? &app_->fs->driveMap() : nullptr);
}

std::string frmMain::ShowInputBox(const std::string& prompt, int style, const std::string& title,
                                  const std::string& defaultText) {
    static const Settings defaults;
    return bw::ShowInputBox(prompt, style, title, defaultText, app_ ? app_->settings : defaults,
                            this, this, app_ ? &app_->fs->driveMap() : nullptr);
}

void frmMain::ShowSystemMessage(const std::string& prompt, const std::string& title) {
    QMessageBox::information(this, QString::fromStdString(title), QString::fromStdString(prompt));
}

void frmMain::SetCaption(const std::string& caption) {
    setWindowTitle(QString::fromStdString(caption));
}

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

std::string frmMain::ChooseSaveFile(const std::string& title, const std::string& filter) {
    // Over the window that asked: a modal box, the report window, or this one.
    QWidget* owner = QApplication::activeModalWidget()
                         ? QApplication::activeModalWidget()
                         : (QApplication::activeWindow() ? QApplication::activeWindow() : this);
    return QFileDialog::getSaveFileName(owner, QString::fromStdString(title), QString(),
                                        QtFilter(filter))
        .toStdString();
}

std::string frmMain::ChooseFolder(const std::string& title) {
    QWidget* owner = QApplication::activeModalWidget() ? QApplication::activeModalWidget() : this;
    return QFileDialog::getExistingDirectory(owner, QString::fromStdString(title)).toStdString();
}

void frmMain::PopupEditMenu() { mnuEdit_->exec(QCursor::pos()); }

void frmMain::EnsureVisible(Node* node) {
    if (model_ && node) treMain_->scrollTo(model_->IndexOf(node));
}

void frmMain::SetScanMode(bool scanning) {
    scanning_ = scanning;
    if (scanning) {
        SetScanProgress(0);
        LayoutBody();
        pctShadow_->raise();
        fraScan_->raise();
    }
    fraScan_->setVisible(scanning);
    pctShadow_->setVisible(scanning);
    treMain_->setEnabled(!scanning);
    tlbMain_->setEnabled(!scanning);
    for (QMenu* m : menus_) m->menuAction()->setEnabled(!scanning);
    ApplyActionStates();
    cmdCancel_->setEnabled(true);
    if (!scanning) CloseIfPending();
}

void frmMain::SetScanCaption(const std::string& caption) {
    fraScan_->setTitle(QString::fromStdString(caption));
}

void frmMain::SetScanStatus(const std::string& status) {
    lblStatus_->setText(QString::fromStdString(status));
}

void frmMain::SetScanProgress(double fraction) {
    progress_ = std::clamp(fraction, 0.0, 1.0);
    const QRect track = pctBack_->contentsRect();
    pctProgress_->setGeometry(track.x(), track.y(), static_cast<int>(track.width() * progress_),
                              track.height());
}

}  // namespace bw
