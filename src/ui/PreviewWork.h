#pragma once

#include <QImage>
#include <QSize>
#include <QString>
#include <cstdint>
#include <functional>
#include <optional>

#include "preview/PreviewRequest.h"

namespace bw {

class FileSystem;

// One piece of work for the loader: what to show, the picture box, and facts gathered on the
// user-interface thread when the request was made.
struct PreviewJob {
    PreviewRequest request;
    QSize box;
    std::optional<int64_t> referenceCount;  // library files: what the index knows, when fresh
};

struct PreviewResult {
    QImage picture;  // null: no picture
    QString info;
};

// Gathers the facts and decodes the picture for a job; slow (reads files), so it runs on a worker
// thread. Gives up early, with an empty result, once `superseded` answers true.
PreviewResult BuildPreview(const FileSystem& fs, const PreviewJob& job,
                           const std::function<bool()>& superseded);

}  // namespace bw
