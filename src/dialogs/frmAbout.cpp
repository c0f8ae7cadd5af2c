#include "dialogs/frmAbout.h"

namespace bw {

void ShowAbout(AppState&, QWidget*) {}

}  // namespace bw
