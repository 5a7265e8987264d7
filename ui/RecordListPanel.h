#pragma once

#include "store/TaskList.h"

#include <QWidget>

class QLabel;
class QTreeWidget;

namespace kavo {

class ClickLabel;

// The record list of the history tab: 28 rows a page and the paging strip under it.
class RecordListPanel : public QWidget {
    Q_OBJECT
public:
    explicit RecordListPanel(QWidget* parent);

    // Shows page `apage` of task `tid` (CuPage := apage) and recomputes the paging for its total.
    void FreshLvlist(TTaskList& tasks, int tid, int apage);
    void FreshState(int rtcount);
    // A record that has just been stored, appended while the view holds fewer than 28 rows.
    void AppendLiveRow(const TTaskDeail& record);

    int RowCount() const;
    // The caption of column i (0 .. 10), the export's headings.
    QString ColumnCaption(int i) const;
    static constexpr int kColumns = 11;

    int CuPage = 0;
    int PageCount = 0;

    QTreeWidget* lvlist;
    ClickLabel* rzlblfirst;
    ClickLabel* rzlblbefore;
    ClickLabel* rzlblnext;
    ClickLabel* rzlblend;
    QLabel* rzlblcount;

Q_SIGNALS:
    // A paging link asks for this page of the selected task.
    void pageRequested(int page);

private:
    void addRow(const TTaskDeail& record, bool faxAsStored);
};

} // namespace kavo
