// Saves PNG pictures of the real window for people (README): the search tab, the history tab with a
// running card and its records, and each dialog. Run by scripts/screenshots.sh under Xvfb.
#include "FixtureMarketplace.h"
#include "TempAppDir.h"
#include "ui/AppFont.h"
#include "ui/ClickLabel.h"
#include "ui/HistoryPanel.h"
#include "ui/OptionDialogs.h"
#include "ui/ProgressWindows.h"
#include "ui/RecordListPanel.h"
#include "ui/SearchPanel.h"
#include "ui/SettingsDialog.h"
#include "ui/Tfmformat.h"
#include "ui/Tfmtask.h"
#include "ui/Tfpelmmain.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTabWidget>
#include <QThread>

#include <chrono>
#include <iostream>

namespace {

void pump(int ms) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (std::chrono::steady_clock::now() < end) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(5);
    }
}

void save(QWidget* widget, const QString& folder, const char* name) {
    widget->show();
    pump(300);
    const QString file = folder + QStringLiteral("/") + QString::fromUtf8(name) + QStringLiteral(".png");
    if (widget->grab().save(file))
        std::cout << file.toStdString() << "\n";
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    kavo::ApplyChineseFont(app);
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("screenshots");
    QDir().mkpath(folder);

    kavo::test::TempAppDir dir;
    kavo::test::FixtureMarketplace market;
    market.ConfigureHosts();
    market.SetPageCount(3);
    market.SetDelay(std::chrono::milliseconds(60));

    kavo::Tfpelmmain window;
    window.trayAvailable = true;
    window.show();
    window.search->edtkey->setText(QStringLiteral("LED灯具"));
    window.search->cbopy->setCurrentIndex(std::min(19, window.search->cbopy->count() - 1));
    save(&window, folder, "search");

    window.search->Button1->click();
    window.search->edtkey->setText(QStringLiteral("五金工具"));
    window.search->Button1->click();
    window.search->edtkey->setText(QStringLiteral("服装,童装"));
    window.search->Button1->click();
    kavo::Tfmtask* card = window.history->Cards().at(1);
    card->SelMySelf();
    card->StartWork();
    pump(2500);
    save(&window, folder, "history");
    card->StopAndWait();

    kavo::Tfmformat format(&window);
    for (int i = 0; i < 11; ++i)
        format.SetChkBox(i + 2, window.history->records->ColumnCaption(i));
    save(&format, folder, "dialog-export");
    kavo::Tfmdiss dedup(&window);
    save(&dedup, folder, "dialog-dedup");
    kavo::Tfmfm formatting(&window);
    save(&formatting, folder, "dialog-format");
    kavo::SettingsDialog settings(&window);
    save(&settings, folder, "dialog-settings");
    kavo::Tfmwh wait;
    wait.ShowText(QString());
    save(&wait, folder, "window-wait");
    kavo::Tfmprocess processing(&window);
    processing.ProgressBar1->setValue(40);
    save(&processing, folder, "window-processing");
    kavo::Tfmupwin update(&window);
    update.SetProgress(60);
    save(&update, folder, "window-update");
    window.bclose = true;
    return 0;
}
