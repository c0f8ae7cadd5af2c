#include "dialogs/MsgBox.h"

#include <QInputDialog>
#include <QMessageBox>

#include "app/Settings.h"

namespace bw {

// Interim stand-ins until the program's own boxes are in place.
int ShowMsgBox(const std::string& prompt, int style, const std::string& title, const Settings&) {
    QMessageBox box(QMessageBox::NoIcon, QString::fromStdString(title), QString::fromStdString(prompt));
    switch (style % 16) {
        case 1: box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel); break;
        case 3: box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel); break;
        case 4: box.setStandardButtons(QMessageBox::Yes | QMessageBox::No); break;
        default: box.setStandardButtons(QMessageBox::Ok);
    }
    switch (box.exec()) {
        case QMessageBox::Ok: return 1;
        case QMessageBox::Yes: return 6;
        case QMessageBox::No: return 7;
        default: return 2;
    }
}

std::string ShowInputBox(const std::string& prompt, int, const std::string& title, const std::string& defaultText,
                         const Settings&, QWidget* owner) {
    bool ok = false;
    QString s = QInputDialog::getText(owner, QString::fromStdString(title), QString::fromStdString(prompt),
                                      QLineEdit::Normal, QString::fromStdString(defaultText), &ok);
    return ok ? s.toStdString() : std::string();
}

}  // namespace bw
