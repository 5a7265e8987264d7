#include "ui/AppFont.h"

#include <QApplication>
#include <QFont>

namespace kavo {

void ApplyChineseFont(QApplication& app) {
    QFont font = app.font();
    font.setFamilies({QStringLiteral("Noto Sans CJK SC"), QStringLiteral("Noto Sans SC"),
                      QStringLiteral("WenQuanYi Micro Hei"), font.family()});
    font.setPointSize(9);
    app.setFont(font);
}

} // namespace kavo
