// The notice library: a timed, centred notice that does not block its caller, and a small window
// that shows an address. Loaded at run time by the desktop program; all texts are UTF-8.
#include <QApplication>
#include <QDesktopServices>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QUrl>
#include <QVBoxLayout>
#include <QWidget>

namespace {

void centreOn(QWidget* window, QWidget* owner, bool centred) {
    window->adjustSize();
    QRect area;
    if (owner && owner->isVisible())
        area = owner->frameGeometry();
    else if (QScreen* screen = QGuiApplication::primaryScreen())
        area = screen->availableGeometry();
    if (centred && area.isValid())
        window->move(area.center() - window->rect().center());
}

} // namespace

extern "C" __attribute__((visibility("default"))) void showdlgInfo(const char* text, bool centred,
                                                                   void* owner, int ms) {
    if (!qApp || !text)
        return;
    auto* notice = new QLabel(QString::fromUtf8(text));
    notice->setObjectName(QStringLiteral("msgdlgNotice"));
    notice->setAttribute(Qt::WA_DeleteOnClose);
    notice->setAttribute(Qt::WA_ShowWithoutActivating);
    notice->setWindowFlags(Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    notice->setAlignment(Qt::AlignCenter);
    notice->setMargin(18);
    notice->setStyleSheet(QStringLiteral("QLabel { background: #FFFBE6; border: 1px solid #E0A030;"
                                         " color: #333333; font-size: 14px; }"));
    centreOn(notice, static_cast<QWidget*>(owner), centred);
    notice->show();
    QTimer::singleShot(ms > 0 ? ms : 1000, notice, &QWidget::close);
}

extern "C" __attribute__((visibility("default"))) void ShowWebPop(const char* address) {
    if (!qApp || !address || !*address)
        return;
    const QString url = QString::fromUtf8(address);
    auto* pop = new QWidget(nullptr, Qt::Tool | Qt::WindowStaysOnTopHint);
    pop->setObjectName(QStringLiteral("msgdlgWebPop"));
    pop->setAttribute(Qt::WA_DeleteOnClose);
    pop->setWindowTitle(QStringLiteral("消息"));
    auto* layout = new QVBoxLayout(pop);
    auto* link = new QLabel(QStringLiteral("<a href=\"%1\">%1</a>").arg(url.toHtmlEscaped()), pop);
    link->setTextInteractionFlags(Qt::TextBrowserInteraction);
    link->setOpenExternalLinks(true);
    link->setWordWrap(true);
    layout->addWidget(link);
    auto* close = new QPushButton(QStringLiteral("关  闭"), pop);
    QObject::connect(close, &QPushButton::clicked, pop, &QWidget::close);
    layout->addWidget(close, 0, Qt::AlignRight);
    pop->resize(320, 160);
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        pop->move(area.right() - pop->width() - 16, area.bottom() - pop->height() - 48);
    }
    pop->show();
}
