#pragma once

namespace sweepdraw {

// Describes the window to screen readers: the window by its caption, with
// the decorative panel left out, and the picture as one image named 画面
// whose description says what is drawn on it. Installed once; safe to call
// again.
void installAccessibility();

} // namespace sweepdraw
