#include "dialogs/FormColors.h"

namespace bw {

void ApplyFormColors(QWidget&, const Settings&, Desktop&) {}

}  // namespace bw
