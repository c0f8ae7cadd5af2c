#pragma once

class QWidget;

namespace bw {

class AppState;

// The About box, modal.
void ShowAbout(AppState& app, QWidget* owner);

}  // namespace bw
