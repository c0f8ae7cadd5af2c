#include "ui/frmRepairPreview.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "core/AppState.h"
#include "ui/FormColors.h"
#include "ui/HoverCursor.h"

namespace bw {

namespace {

QString Text(const std::string& s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

// A line as it reads: the indent that every line of a library file has says nothing here.
QString LineText(const std::string& s) { return Text(s).trimmed(); }

std::string Counted(size_t n, const char* one, const char* many) {
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

QTreeWidget* AddTree(QWidget& parent, const char* name, const QStringList& columns) {
    auto* tree = new QTreeWidget(&parent);
    tree->setObjectName(name);
    tree->setColumnCount(static_cast<int>(columns.size()));
    tree->setHeaderLabels(columns);
    tree->setRootIsDecorated(false);
    tree->setUniformRowHeights(true);
    tree->setWordWrap(false);
    tree->setTextElideMode(Qt::ElideMiddle);
    tree->setSelectionMode(QAbstractItemView::SingleSelection);
    tree->header()->setStretchLastSection(true);
    return tree;
}

}  // namespace

std::string PlanCountText(const repair::RepairPlan& plan) {
    if (plan.files.empty()) return "Nothing will change.";
    return Counted(plan.files.size(), "library file", "library files") + ", " +
           Counted(plan.LineCount(), "line", "lines") + " will change.";
}

frmRepairPreview::frmRepairPreview(AppState& app, const repair::RepairPlan& plan, QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                         Qt::WindowMaximizeButtonHint) {
    setObjectName("frmRepairPreview");
    setWindowTitle("Repair References");
    setModal(true);

    lblCounts = new QLabel(QString::fromStdString(PlanCountText(plan)), this);
    lblCounts->setObjectName("lblCounts");

    treChanges = AddTree(*this, "treChanges", {"Line", "Now", "After"});
    treChanges->setRootIsDecorated(true);
    treChanges->setToolTip("Each library file with the lines the repair rewrites.");
    for (const repair::FileRepair& f : plan.files) {
        auto* file = new QTreeWidgetItem(treChanges, {Text(app.fs->WindowsPath(f.file))});
        file->setFirstColumnSpanned(true);
        QFont bold = file->font(0);
        bold.setBold(true);
        file->setFont(0, bold);
        for (const repair::LineEdit& e : f.lines) {
            auto* line = new QTreeWidgetItem(
                file, {QString::number(e.line), LineText(e.oldText), LineText(e.newText)});
            line->setTextAlignment(0, Qt::AlignRight | Qt::AlignVCenter);
            line->setToolTip(1, Text(e.oldText));
            line->setToolTip(2, Text(e.newText));
        }
    }
    treChanges->expandAll();
    treChanges->header()->resizeSection(0, 110);
    treChanges->header()->resizeSection(1, 360);

    lblRefused =
        new QLabel(QString::fromStdString(Counted(plan.refused.size(), "change", "changes") +
                                          " will not be made:"),
                   this);
    lblRefused->setObjectName("lblRefused");
    treRefused = AddTree(*this, "treRefused", {"Library file", "Line", "Reference", "Why"});
    for (const repair::RefusedChange& r : plan.refused) {
        auto* item = new QTreeWidgetItem(
            treRefused, {Text(app.fs->WindowsPath(r.change.file)), QString::number(r.change.line),
                         Text(r.change.oldReference), Text(r.reason)});
        item->setTextAlignment(1, Qt::AlignRight | Qt::AlignVCenter);
    }
    treRefused->header()->resizeSection(0, 300);
    treRefused->header()->resizeSection(1, 50);
    treRefused->header()->resizeSection(2, 240);
    lblRefused->setVisible(!plan.refused.empty());
    treRefused->setVisible(!plan.refused.empty());

    cmdApply = new QPushButton("&Apply", this);
    cmdApply->setObjectName("cmdApply");
    cmdApply->setToolTip("Write these changes; Undo Last Repair puts the files back.");
    cmdApply->setDefault(true);
    cmdApply->setEnabled(!plan.files.empty());
    cmdCancel = new QPushButton("Cancel", this);
    cmdCancel->setObjectName("cmdCancel");
    cmdCancel->setToolTip("Change nothing.");

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdApply);
    buttons->addWidget(cmdCancel);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(10, 10, 10, 10);
    layout->addWidget(lblCounts);
    layout->addWidget(treChanges, 3);
    layout->addWidget(lblRefused);
    layout->addWidget(treRefused, 1);
    layout->addLayout(buttons);

    connect(cmdApply, &QPushButton::clicked, this, &QDialog::accept);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
    if (cmdApply->isEnabled())
        cmdApply->setFocus();
    else
        cmdCancel->setFocus();

    ApplyFormColors(*this, app.settings, app.desktop, &app.fs->driveMap());
    InstallHoverCursor(*this);
    QScreen* screen = owner && owner->screen() ? owner->screen() : QGuiApplication::primaryScreen();
    const QRect area = screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
    resize(std::min(900, area.width() - 40),
           std::min(plan.refused.empty() ? 420 : 540, area.height() - 60));
}

}  // namespace bw
