#pragma once

#include "common/Messages.h"
#include "store/TaskList.h"

#include <QMainWindow>
#include <QPointer>

#include <functional>
#include <memory>

class QLabel;
class QLocalServer;
class QStatusBar;
class QTabWidget;

namespace kavo {

class HistoryPanel;
class RecordListPanel;
class SearchPanel;
class TDataManager;
class TPlugin;
class TServiceClient;
class Tfmprocess;
class Tfmtask;
class Tfmupwin;
class Tfmwh;
class TrayIcon;
class tParam;

// The main window: search tab, history tab with the task cards and records, status bar and tray.
class Tfpelmmain : public QMainWindow {
    Q_OBJECT
public:
    explicit Tfpelmmain(QWidget* parent = nullptr);
    ~Tfpelmmain() override;

    // Search and tasks.
    void Button1Click();
    void GetCountnum(std::unique_ptr<TTaskInfo> task);
    void tabhisShow();
    Tfmtask* SelectedCard() const;
    void btnstartClick();
    void btnpauseClick();
    void SpeedButton3Click();
    void btnDelteClick();

    // Records.
    void FreshLvlist(int tid, int apage);
    void FreshState(int rtcount);
    void OnTaskItemAdded(pTaskDeail TDeail);

    // Processing.
    void btnexportClick();
    void SpeedButton2Click();
    void SpeedButton6Click();
    // Runs the number formatting of the task on its own thread; progress arrives as message 3049,
    // and when it is done page 1 of the task is shown again.
    void StartFormatting(int taskId, bool dropMobileZero);
    void FormatFinished(int taskId);
    MsgParam OnProcessNotify(MsgParam wParam, MsgParam lParam);
    MsgParam OnUpdateNotify(MsgParam wParam, MsgParam lParam);

    // Window, tray and exit.
    void BringToFront();
    void AskExit();
    // Stops every running worker and waits for them (a few seconds at most), answering their messages.
    void StopAllWorkers();
    void OpenSettings();

    // The save dialog of the export; tests replace it. Returns "" when the user cancels.
    using SaveFileChooser = std::function<QString(const QString& defaultName, bool spreadsheet)>;
    void SetSaveFileChooser(SaveFileChooser chooser) { chooseSaveFile_ = std::move(chooser); }

    // The per-user name of the local socket through which other programs bring this window up.
    static QString BringToFrontServerName();

    TTaskList& Tasks() { return *TaskList_; }
    TDataManager& Data() { return *objdata; }
    MessageReceiver* Receiver() const { return receiver_; }

    QString MyExeAppName;
    std::string MyProxyer;
    bool bclose = false;
    // Where the desktop has no notification area, closing asks the exit question instead of hiding.
    bool trayAvailable = true;

    QTabWidget* PageControl1;
    SearchPanel* search;
    HistoryPanel* history;
    RecordListPanel* records;
    QLabel* statusPanel0;
    QLabel* statusPanel1;
    TrayIcon* tray;
    QPointer<Tfmprocess> processWindow;
    QPointer<Tfmupwin> upWindow;
    // Server selection, the configuration document and the start of a self-update.
    TServiceClient* serviceClient = nullptr;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void FormCreate();
    void LoadReferenceLists();
    void LoadSettings();
    void buildMenu();
    void wireCard(Tfmtask* card);
    void listenForBringToFront();
    QString chooseExportFile(const QString& defaultName, bool spreadsheet);

    std::unique_ptr<TDataManager> objdata;
    std::unique_ptr<TTaskList> TaskList_;
    std::unique_ptr<tParam> param;
    std::unique_ptr<TPlugin> NotifyPlugin;
    std::unique_ptr<Tfmwh> fmwh;
    MessageReceiver* receiver_;
    QLocalServer* bringServer_ = nullptr;
    SaveFileChooser chooseSaveFile_;
};

} // namespace kavo
