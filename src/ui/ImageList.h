#pragma once

#include <QPixmap>
#include <map>
#include <string>
#include <vector>

namespace bw {

// The image list imgMain: the tree's and the toolbar's pictures under their keys.
class ImageList {
  public:
    // Loads the pictures from the program's resources.
    ImageList();

    // The keys in their fixed order.
    static const std::vector<std::string>& Keys();

    bool Has(const std::string& key) const { return pixmaps_.count(key) != 0; }
    // The picture of a key; a null pixmap when the list has none (there is no "RamDisk").
    QPixmap Pixmap(const std::string& key) const;

  private:
    std::map<std::string, QPixmap> pixmaps_;
};

}  // namespace bw
