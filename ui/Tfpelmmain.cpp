#include "ui/Tfpelmmain.h"

#include "common/Global.h"
#include "common/Settings.h"
#include "common/UserInterface.h"
#include "extras/DesktopShortcut.h"
#include "extras/TPlugin.h"
#include "extras/frmabout.h"
#include "extras/frmdes.h"
#include "service/ServiceClient.h"
#include "store/DataManager.h"
#include "store/paramset.h"
#include "ui/GuiUserInterface.h"
#include "ui/HistoryPanel.h"
#include "ui/ProgressWindows.h"
#include "ui/QtText.h"
#include "ui/RecordListPanel.h"
#include "ui/SearchPanel.h"
#include "ui/SettingsDialog.h"
#include "ui/Tfmtask.h"
#include "ui/TrayIcon.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QLocalServer>
#include <QLocalSocket>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QTabWidget>

namespace kavo {

Tfpelmmain::Tfpelmmain(QWidget* parent) : QMainWindow(parent) {
    setObjectName(QStringLiteral("fpelmmain"));
    receiver_ = new MessageReceiver(
        [this](int msg, MsgParam wParam, MsgParam lParam) -> MsgParam {
            if (msg == MSG_PROCESS)
                return OnProcessNotify(wParam, lParam);
            if (msg == MSG_UPDATE)
                return OnUpdateNotify(wParam, lParam);
            if (msg == MSG_BRING_TO_FRONT)
                BringToFront();
            return 0;
        },
        this);

    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    search = new SearchPanel(PageControl1);
    history = new HistoryPanel(PageControl1);
    records = history->records;
    PageControl1->addTab(search, QStringLiteral("名录搜索"));
    PageControl1->addTab(history, QStringLiteral("搜索历史"));
    // The strip for the maker's sibling tools stays empty: kavo ships none.
    auto* pnltop = new QLabel(QStringLiteral("推荐工具 >>"), PageControl1);
    pnltop->setObjectName(QStringLiteral("pnltop"));
    pnltop->setStyleSheet(QStringLiteral("QLabel { color: #0000FF; padding-right: 8px; }"));
    PageControl1->setCornerWidget(pnltop, Qt::TopRightCorner);
    setCentralWidget(PageControl1);

    statusPanel0 = new QLabel(QStringLiteral("正在选择服务器地址，请稍后..."), this);
    statusPanel0->setObjectName(QStringLiteral("StatusBar1Panel0"));
    statusPanel0->setFixedWidth(600);
    statusPanel1 = new QLabel(this);
    statusPanel1->setObjectName(QStringLiteral("StatusBar1Panel1"));
    statusPanel1->setFixedWidth(50);
    statusPanel1->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    statusBar()->setObjectName(QStringLiteral("StatusBar1"));
    statusBar()->addWidget(statusPanel0);
    statusBar()->addWidget(statusPanel1);

    tray = new TrayIcon(this);
    trayAvailable = tray->Available();
    buildMenu();

    connect(search, &SearchPanel::submitRequested, this, &Tfpelmmain::Button1Click);
    connect(PageControl1, &QTabWidget::currentChanged, this, [this](int index) {
        if (PageControl1->widget(index) == history)
            tabhisShow();
    });
    connect(history->btnstart, &QPushButton::clicked, this, &Tfpelmmain::btnstartClick);
    connect(history->btnpause, &QPushButton::clicked, this, &Tfpelmmain::btnpauseClick);
    connect(history->SpeedButton3, &QPushButton::clicked, this, &Tfpelmmain::SpeedButton3Click);
    connect(history->btnDelte, &QPushButton::clicked, this, &Tfpelmmain::btnDelteClick);
    connect(history->btnexport, &QPushButton::clicked, this, &Tfpelmmain::btnexportClick);
    connect(history->SpeedButton2, &QPushButton::clicked, this, &Tfpelmmain::SpeedButton2Click);
    connect(history->SpeedButton6, &QPushButton::clicked, this, &Tfpelmmain::SpeedButton6Click);
    connect(history, &HistoryPanel::cardCreated, this, &Tfpelmmain::wireCard);
    connect(records, &RecordListPanel::pageRequested, this, [this](int page) {
        if (Tfmtask* card = SelectedCard())
            FreshLvlist(card->TaskId(), page);
    });
    connect(tray, &TrayIcon::showRequested, this, &Tfpelmmain::BringToFront);
    connect(tray, &TrayIcon::exitRequested, this, &Tfpelmmain::AskExit);

    FormCreate();
    // The wait window exists only from here on, so start-up itself shows none.
    fmwh = std::make_unique<Tfmwh>();
    SetGuiWaitWindow(fmwh.get());
}

Tfpelmmain::~Tfpelmmain() {
    StopAllWorkers();
    SetGuiWaitWindow(nullptr);
    ResetUserInterface();
}

void Tfpelmmain::FormCreate() {
    MyExeAppName = Q(BeforeLastChar(GetAppExeName(), '.'));
    setWindowTitle(MyExeAppName + QStringLiteral(" V1.0"));
    QApplication::setApplicationDisplayName(windowTitle());
    tray->SetHint(windowTitle());
    resize(1000, 650);
    if (QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - QPoint(500, 325));
    LogEnabled = true;
    PageControl1->setCurrentWidget(search);
    objdata = std::make_unique<TDataManager>("user.db", 0);
    TaskList_ = std::make_unique<TTaskList>(*objdata);
    TaskList_->SetOnGetTaskItem([this](pTaskDeail record) { OnTaskItemAdded(record); });
    NotifyPlugin = std::make_unique<TPlugin>(this);
    InstallGuiUserInterface(NotifyPlugin.get());
    bclose = false;
    serviceClient = new TServiceClient(receiver_,
                                       {.setStatus =
                                            [this](int panel, const std::string& text) {
                                                (panel == 0 ? statusPanel0 : statusPanel1)->setText(Q(text));
                                            },
                                        .showPopup = [this] { ShowPopupPage(*NotifyPlugin); }},
                                       {}, this);
    serviceClient->Start();
    LoadReferenceLists();
    LoadSettings();
    listenForBringToFront();
}

void Tfpelmmain::LoadReferenceLists() {
    param = std::make_unique<tParam>(*objdata);
    search->LoadReferenceLists(*param);
}

void Tfpelmmain::LoadSettings() {
    MyProxyer = ReadSetting(setting::ConfigP);
    const std::string first = ReadSetting(setting::ConfigFirst);
    const bool done = first == "1" ||
                      QString::fromStdString(first).compare(QStringLiteral("true"), Qt::CaseInsensitive) == 0;
    if (!done) {
        CreateDesktopShortcut(S(MyExeAppName));
        WriteSetting(setting::ConfigFirst, "1");
    }
    RegisterInstallPath();
}

void Tfpelmmain::buildMenu() {
    auto* help = menuBar()->addMenu(QStringLiteral("帮助中心(&H)"));
    help->setObjectName(QStringLiteral("N17"));
    auto* settingsItem = menuBar()->addAction(QStringLiteral("设置"));
    settingsItem->setObjectName(QStringLiteral("mnusettings"));
    connect(settingsItem, &QAction::triggered, this, &Tfpelmmain::OpenSettings);
    QAction* contact = help->addAction(QStringLiteral("联系我们"));
    contact->setObjectName(QStringLiteral("N18"));
    connect(contact, &QAction::triggered, this, [this] { ShowContactPage(this, MyProxyer); });
    QAction* suggestions = help->addAction(QStringLiteral("优化建议"));
    suggestions->setObjectName(QStringLiteral("N20"));
    connect(suggestions, &QAction::triggered, this, [this] { OpenSuggestionsPage(MyProxyer); });
    QAction* description = help->addAction(QStringLiteral("软件介绍"));
    description->setObjectName(QStringLiteral("N21"));
    connect(description, &QAction::triggered, this, [this] { ShowDescriptionPage(this); });
}

void Tfpelmmain::OpenSettings() {
    SettingsDialog dialog(this);
    dialog.exec();
}

QString Tfpelmmain::BringToFrontServerName() {
    return QStringLiteral("kavo-front-") + qEnvironmentVariable("USER", QStringLiteral("user"));
}

void Tfpelmmain::listenForBringToFront() {
    bringServer_ = new QLocalServer(this);
    bringServer_->setSocketOptions(QLocalServer::UserAccessOption);
    if (!bringServer_->listen(BringToFrontServerName())) {
        // A copy that ended without cleaning up leaves its socket file behind.
        QLocalServer::removeServer(BringToFrontServerName());
        bringServer_->listen(BringToFrontServerName());
    }
    connect(bringServer_, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* peer = bringServer_->nextPendingConnection()) {
            connect(peer, &QLocalSocket::disconnected, peer, &QObject::deleteLater);
            BringToFront();
            peer->write("0");
            peer->disconnectFromServer();
        }
    });
}

void Tfpelmmain::closeEvent(QCloseEvent* event) {
    if (bclose) {
        event->accept();
        return;
    }
    event->ignore();
    if (trayAvailable)
        hide();
    else
        AskExit();
}

void Tfpelmmain::BringToFront() {
    show();
    if (isMinimized())
        showNormal();
    raise();
    activateWindow();
}

void Tfpelmmain::AskExit() {
    if (ShowMsg("确定要退出[" + S(MyExeAppName) + "]吗？", "提示", kMsgQuestion) != kAnswerOk)
        return;
    bclose = true;
    StopAllWorkers();
    tray->Hide();
    close();
    QApplication::quit();
}

} // namespace kavo
