// Export, de-duplication and number formatting of the selected task, and the progress windows.
#include "common/Global.h"
#include "common/UserInterface.h"
#include "processing/Dedup.h"
#include "processing/Export.h"
#include "service/AutoUpdate.h"
#include "ui/HistoryPanel.h"
#include "ui/OptionDialogs.h"
#include "ui/ProgressWindows.h"
#include "ui/QtText.h"
#include "ui/RecordListPanel.h"
#include "ui/Tfmformat.h"
#include "ui/Tfmtask.h"
#include "ui/Tfpelmmain.h"
#include "ui/TrayIcon.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>

#include <fstream>

namespace kavo {
namespace {

const QString kXlsFilter = QStringLiteral("Excel文件 (*.xls)");
const QString kXlsxFilter = QStringLiteral("Excel 2007+ (*.xlsx)");
const QString kTextFilter = QStringLiteral("文本文件 (*.txt)");
const QString kAllFilter = QStringLiteral("所有文件 (*)");

// The export button is disabled for as long as its handler runs, however it ends.
class DisabledWhileRunning {
public:
    explicit DisabledWhileRunning(QWidget* widget) : widget_(widget) { widget_->setEnabled(false); }
    ~DisabledWhileRunning() {
        if (widget_)
            widget_->setEnabled(true);
    }

private:
    QPointer<QWidget> widget_;
};

} // namespace

QString Tfpelmmain::chooseExportFile(const QString& defaultName, bool spreadsheet) {
    if (chooseSaveFile_)
        return chooseSaveFile_(defaultName, spreadsheet);
    QFileDialog dialog(this, QStringLiteral("导出数据"));
    dialog.setObjectName(QStringLiteral("SaveDialog1"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    if (spreadsheet) {
        dialog.setNameFilters({kXlsFilter, kXlsxFilter, kAllFilter});
        dialog.setDefaultSuffix(QStringLiteral("xls"));
        dialog.selectFile(defaultName + QStringLiteral(".xls"));
    } else {
        dialog.setNameFilters({kTextFilter, kAllFilter});
        dialog.setDefaultSuffix(QStringLiteral("txt"));
        dialog.selectFile(defaultName + QStringLiteral(".txt"));
    }
    connect(&dialog, &QFileDialog::filterSelected, &dialog, [&dialog](const QString& filter) {
        if (filter == kXlsxFilter)
            dialog.setDefaultSuffix(QStringLiteral("xlsx"));
        else if (filter == kXlsFilter)
            dialog.setDefaultSuffix(QStringLiteral("xls"));
    });
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

void Tfpelmmain::btnexportClick() {
    if (records->RowCount() == 0) {
        ShowNotice("还没有记录！", 1000);
        return;
    }
    DisabledWhileRunning busy(history->btnexport);
    Tfmformat dialog(this);
    for (int i = 0; i < RecordListPanel::kColumns; ++i)
        dialog.SetChkBox(i + 2, records->ColumnCaption(i));
    if (dialog.exec() != QDialog::Accepted)
        return;
    Tfmtask* card = SelectedCard();
    const int taskId = card ? card->TaskId() : 0;
    // The task's own name, not the label, which may carry "(暂停中)".
    const QString name = card && card->TaskInfo() ? Q(card->TaskInfo()->taskname) : QString();
    const bool spreadsheet = dialog.rbexcel->isChecked();

    if (records->RowCount() == 0) {
        ShowNotice(kExportNoDataText, 2000);
        return;
    }
    const QString file = chooseExportFile(name, spreadsheet);
    if (file.isEmpty() || !ConfirmOverwrite(S(file)))
        return;

    ExportRequest request;
    request.taskId = taskId;
    request.mode = dialog.rbnews->isChecked() ? 0 : 1;
    request.fileName = S(file);
    request.fields = dialog.strWord;
    if (!ExportFormatForFile(request.fileName, request.format))
        request.format = spreadsheet ? ExportFormat::Xls : ExportFormat::Text;

    QPointer<Tfmprowait> progressWindow = new Tfmprowait(nullptr);
    ProgressCallback progress([progressWindow](int position, int maximum) {
        if (!progressWindow)
            return;
        progressWindow->pro->setMaximum(maximum);
        progressWindow->pro->setValue(position);
        QCoreApplication::processEvents();
    });
    // Closing the window during the export only ends the progress reports.
    connect(progressWindow, &QObject::destroyed, this, [&progress] { progress.Clear(); });
    progressWindow->show();
    QCoreApplication::processEvents();

    const ExportOutcome outcome = ExportTaskRecords(Tasks(), request, &progress);
    progress.Clear();
    if (progressWindow) {
        progressWindow->disconnect(this);
        progressWindow->close();
    }
    if (outcome.result == ExportResult::Failed || outcome.result == ExportResult::TooManyRows)
        ShowMsg(outcome.message, "提示", kMsgError);
    else
        ShowNotice(outcome.message, outcome.result == ExportResult::NoData ? 2000 : 1000);
}

void Tfpelmmain::SpeedButton2Click() {
    Tfmtask* card = SelectedCard();
    const int id = card ? card->TaskId() : 0;
    if (id <= 0) {
        ShowMsg(kNoTaskSelectedText, "提示", kMsgInfo);
        return;
    }
    Tfmdiss dialog(this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    const DedupKey key = dialog.ComboBox1->currentIndex() == 1 ? DedupKey::Comname : DedupKey::Tel;
    const DedupOutcome outcome = DedupTaskRecords(Data(), id, key);
    ShowMsg(outcome.message.empty() ? std::string(kDedupDoneText) : outcome.message, "提示", kMsgInfo);
    // Removed rows must not stay on screen.
    if (SelectedCard() == card)
        FreshLvlist(id, 1);
}

MsgParam Tfpelmmain::OnProcessNotify(MsgParam wParam, MsgParam lParam) {
    switch (wParam) {
    case 1:
        if (!processWindow)
            processWindow = new Tfmprocess(this);
        processWindow->ProgressBar1->setValue(0);
        processWindow->show();
        break;
    case 2:
        // A parallel run may already have closed the window; its late reports go nowhere.
        if (processWindow)
            processWindow->ProgressBar1->setValue(static_cast<int>(lParam));
        break;
    case 3:
        if (processWindow) {
            processWindow->hide();
            processWindow->deleteLater();
            processWindow = nullptr;
        }
        break;
    default:
        break;
    }
    return 0;
}

MsgParam Tfpelmmain::OnUpdateNotify(MsgParam wParam, MsgParam lParam) {
    switch (wParam) {
    case 1:
        upWindow = new Tfmupwin(this);
        upWindow->show();
        break;
    case 2:
        if (upWindow)
            upWindow->SetProgress(static_cast<int>(lParam));
        break;
    case 5:
        HandOverToUpdater({.beforeEnd =
                               [this] {
                                   tray->Hide();
                                   bclose = true;
                               },
                           .endProcesses = {}});
        break;
    default:
        break;
    }
    return 0;
}

} // namespace kavo

namespace kavo {

void Tfpelmmain::SpeedButton6Click() {
    Tfmtask* card = SelectedCard();
    const int id = card ? card->TaskId() : 0;
    if (id <= 0) {
        ShowMsg(kNoTaskSelectedText, "提示", kMsgInfo);
        return;
    }
    Tfmfm dialog(this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    StartFormatting(id, dialog.CheckBox1->isChecked());
}

} // namespace kavo
