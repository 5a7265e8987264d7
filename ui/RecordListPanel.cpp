#include "ui/RecordListPanel.h"

#include "ui/ClickLabel.h"
#include "ui/QtText.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace kavo {
namespace {

struct Column {
    const char* caption;
    int width;
};
constexpr Column kColumnsShown[] = {{"公司名称", 200}, {"联系人", 60},    {"职位", 60},    {"电话", 100},
                                    {"手机", 100},     {"传真", 100},     {"地址", 100},   {"企业类型", 70},
                                    {"主营产品", 70},  {"主营行业", 100}, {"注册资本", 70}};

} // namespace

RecordListPanel::RecordListPanel(QWidget* parent) : QWidget(parent) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    lvlist = new QTreeWidget(this);
    lvlist->setObjectName(QStringLiteral("lvlist"));
    lvlist->setRootIsDecorated(false);
    lvlist->setSelectionBehavior(QAbstractItemView::SelectRows);
    lvlist->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lvlist->setUniformRowHeights(true);
    lvlist->setColumnCount(kColumns);
    QStringList captions;
    for (const Column& column : kColumnsShown)
        captions << Q(column.caption);
    lvlist->setHeaderLabels(captions);
    for (int i = 0; i < kColumns; ++i)
        lvlist->setColumnWidth(i, kColumnsShown[i].width);
    layout->addWidget(lvlist, 1);

    auto* strip = new QHBoxLayout;
    rzlblfirst = MakeLinkLabel(QStringLiteral("首页"), QStringLiteral("rzlblfirst"), this);
    rzlblbefore = MakeLinkLabel(QStringLiteral("上一页"), QStringLiteral("rzlblbefore"), this);
    rzlblnext = MakeLinkLabel(QStringLiteral("下一页"), QStringLiteral("rzlblnext"), this);
    rzlblend = MakeLinkLabel(QStringLiteral("尾页"), QStringLiteral("rzlblend"), this);
    rzlblcount = new QLabel(QStringLiteral("总页数"), this);
    rzlblcount->setObjectName(QStringLiteral("rzlblcount"));
    rzlblcount->setStyleSheet(QStringLiteral("QLabel { color: #0000FF; }"));
    strip->addStretch();
    for (ClickLabel* link : {rzlblfirst, rzlblbefore, rzlblnext, rzlblend}) {
        link->setEnabled(false);
        strip->addWidget(link);
        strip->addSpacing(8);
    }
    strip->addWidget(rzlblcount);
    layout->addLayout(strip);

    connect(rzlblfirst, &ClickLabel::clicked, this, [this] { Q_EMIT pageRequested(1); });
    connect(rzlblbefore, &ClickLabel::clicked, this, [this] { Q_EMIT pageRequested(CuPage - 1); });
    connect(rzlblnext, &ClickLabel::clicked, this, [this] { Q_EMIT pageRequested(CuPage + 1); });
    connect(rzlblend, &ClickLabel::clicked, this, [this] { Q_EMIT pageRequested(PageCount); });
}

QString RecordListPanel::ColumnCaption(int i) const {
    return lvlist->headerItem()->text(i);
}

int RecordListPanel::RowCount() const {
    return lvlist->topLevelItemCount();
}

void RecordListPanel::addRow(const TTaskDeail& record, bool faxAsStored) {
    // Listed pages hide fax values of three characters or fewer; live rows show them as stored.
    const std::string fax = faxAsStored || QString::fromStdString(record.tel3).size() > 3 ? record.tel3 : "";
    const std::string* cells[] = {&record.comname, &record.lxr,  &record.job,  &record.tel,
                                  &record.tel2,    &fax,         &record.addr, &record.qytype,
                                  &record.zycp,    &record.zyhy, &record.zczy};
    auto* item = new QTreeWidgetItem(lvlist);
    for (int i = 0; i < kColumns; ++i)
        item->setText(i, Q(*cells[i]));
}

void RecordListPanel::FreshLvlist(TTaskList& tasks, int tid, int apage) {
    CuPage = apage;
    lvlist->clear();
    int total = 0;
    for (const auto& record : tasks.GetDeail(tid, apage, total))
        addRow(*record, false);
    FreshState(total);
}

void RecordListPanel::FreshState(int rtcount) {
    PageCount = (rtcount + TTaskList::kPageRows - 1) / TTaskList::kPageRows;
    rzlblcount->setText(QStringLiteral("总页数：%1/%2").arg(CuPage).arg(PageCount));
    rzlblfirst->setEnabled(CuPage > 1);
    rzlblbefore->setEnabled(CuPage > 1);
    rzlblnext->setEnabled(CuPage < PageCount);
    rzlblend->setEnabled(CuPage < PageCount);
}

void RecordListPanel::AppendLiveRow(const TTaskDeail& record) {
    if (RowCount() < TTaskList::kPageRows)
        addRow(record, true);
}

} // namespace kavo
