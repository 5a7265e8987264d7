#pragma once

class QApplication;

namespace kavo {

// The application font: Tahoma where present, then the CJK faces of fonts-noto-cjk for Chinese text.
void ApplyChineseFont(QApplication& app);

} // namespace kavo
