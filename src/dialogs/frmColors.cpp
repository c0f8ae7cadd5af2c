#include "dialogs/frmColors.h"

namespace bw {

void ShowColors(AppState&, QWidget*) {}

}  // namespace bw
