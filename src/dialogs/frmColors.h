#pragma once

class QWidget;

namespace bw {

class AppState;

// The colours dialog, modal.
void ShowColors(AppState& app, QWidget* owner);

}  // namespace bw
