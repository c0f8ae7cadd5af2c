#include "ui/ImageList.h"

namespace bw {

const std::vector<std::string>& ImageList::Keys() {
    static const std::vector<std::string> keys = {
        "Print",       "Refresh",    "Copy",         "Cut",        "Discrepancy", "Removable",
        "CD-ROM",      "Network",    "Fixed",        "Open",       "Exit",        "Unknown",
        "Unable2",     "Unable",     "ClosedFolder", "OpenFolder", "PoserFile",   "ImageFile",
        "Properties2", "Properties", "Scan",         "Delete",     "Rename",      "Forward",
        "Back",        "SystemFile", "File",         "Paste"};
    return keys;
}

ImageList::ImageList() {
    for (const auto& key : Keys()) {
        QPixmap p(QString(":/imgMain/%1.png").arg(QString::fromStdString(key)));
        if (!p.isNull()) pixmaps_.emplace(key, p);
    }
}

QPixmap ImageList::Pixmap(const std::string& key) const {
    auto it = pixmaps_.find(key);
    return it == pixmaps_.end() ? QPixmap() : it->second;
}

}  // namespace bw
