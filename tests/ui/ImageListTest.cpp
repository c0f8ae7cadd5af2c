#include <gtest/gtest.h>

#include <QImage>
#include <QPixmap>
#include <set>

#include "ui/ImageList.h"

namespace bw {
namespace {

TEST(ImageList, EveryKeyAndToolbarButtonHasADistinctVisiblePicture) {
    ImageList list;
    ASSERT_EQ(ImageList::Keys().size(), 28u);
    std::set<QByteArray> seen;
    for (const auto& key : ImageList::Keys()) {
        SCOPED_TRACE(key);
        ASSERT_TRUE(list.Has(key));
        const QImage img = list.Pixmap(key).toImage().convertToFormat(QImage::Format_ARGB32);
        ASSERT_EQ(img.size(), QSize(16, 16));
        int visible = 0;  // a blank or near-blank picture is as bad as none
        for (int i = 0; i < 256; ++i) visible += qAlpha(img.pixel(i % 16, i / 16)) > 64;
        EXPECT_GE(visible, 20);
        // Two keys showing the same picture would be a mix-up in the resource files.
        const QByteArray bytes(reinterpret_cast<const char*>(img.constBits()), img.sizeInBytes());
        EXPECT_TRUE(seen.insert(bytes).second) << "same picture as another key";
    }
}

}  // namespace
}  // namespace bw
