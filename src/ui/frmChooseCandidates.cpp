#include "ui/frmChooseCandidates.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
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

}  // namespace

frmChooseCandidates::frmChooseCandidates(AppState& app, const std::vector<check::CheckRow>& rows,
                                         QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint), rows_(rows) {
    setObjectName("frmChooseCandidates");
    setWindowTitle("Choose Files");
    setModal(true);

    auto* lblPrompt = new QLabel(
        "Several files of the same name were found for these references. Choose the one each "
        "should name:",
        this);
    lblPrompt->setObjectName("lblPrompt");
    lblPrompt->setWordWrap(true);

    // The list scrolls when there are many; the box keeps a sensible size.
    auto* area = new QScrollArea(this);
    area->setObjectName("fraChoices");
    area->setWidgetResizable(true);
    area->setFrameShape(QFrame::NoFrame);
    auto* list = new QWidget(area);
    list->setObjectName("fraChoiceList");
    auto* grid = new QGridLayout(list);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setColumnStretch(0, 1);
    int at = 0;
    for (const check::CheckRow& row : rows_) {
        auto* label = new QLabel(Text(app.fs->WindowsPath(row.file) + ", line " +
                                      std::to_string(row.line) + ":  " + row.reference.str()),
                                 list);
        label->setObjectName("lblReference");
        label->setTextInteractionFlags(Qt::TextSelectableByMouse);
        auto* box = new QComboBox(list);
        box->setObjectName("cboCandidate");
        box->setToolTip("The file this reference is to name.");
        box->addItem("Leave as it is");
        for (const std::string& c : row.candidates) box->addItem(Text(app.fs->WindowsPath(c)));
        box->setSizeAdjustPolicy(QComboBox::AdjustToContents);
        grid->addWidget(label, at++, 0, 1, 2);
        grid->addWidget(box, at, 0, 1, 1);
        grid->setRowMinimumHeight(at++, box->sizeHint().height() + 6);
        cboCandidate.push_back(box);
    }
    grid->setRowStretch(at, 1);
    area->setWidget(list);

    cmdOK = new QPushButton("OK", this);
    cmdOK->setObjectName("cmdOK");
    cmdOK->setToolTip("Repair the references with the files chosen.");
    cmdOK->setDefault(true);
    cmdCancel = new QPushButton("Cancel", this);
    cmdCancel->setObjectName("cmdCancel");
    cmdCancel->setToolTip("Repair nothing.");
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdCancel);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(10, 10, 10, 10);
    layout->addWidget(lblPrompt);
    layout->addWidget(area, 1);
    layout->addLayout(buttons);
    connect(cmdOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);

    ApplyFormColors(*this, app.settings, app.desktop, &app.fs->driveMap());
    InstallHoverCursor(*this);
    resize(640, std::min(480, 120 + 60 * static_cast<int>(rows_.size())));
    if (!cboCandidate.empty()) cboCandidate.front()->setFocus();
}

std::vector<std::string> frmChooseCandidates::Chosen() const {
    // By position: a path that is not UTF-8 would not survive the trip through the box's text.
    std::vector<std::string> out;
    for (size_t i = 0; i < rows_.size(); ++i) {
        const int at = cboCandidate[i]->currentIndex();
        const auto& candidates = rows_[i].candidates;
        out.push_back(at >= 1 && static_cast<size_t>(at) <= candidates.size()
                          ? candidates[static_cast<size_t>(at) - 1]
                          : std::string());
    }
    return out;
}

std::optional<std::vector<std::string>> ChooseCandidates(AppState& app,
                                                         const std::vector<check::CheckRow>& rows,
                                                         QWidget* owner) {
    frmChooseCandidates box(app, rows, owner);
    if (box.exec() != QDialog::Accepted) return std::nullopt;
    return box.Chosen();
}

}  // namespace bw
