#include "fileops/PasteThisFile.h"

namespace bw {

void PasteThisFile(AppState&) {}

}  // namespace bw
