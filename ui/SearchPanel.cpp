#include "ui/SearchPanel.h"

#include "store/paramset.h"
#include "ui/QtText.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace kavo {
namespace {

QComboBox* makeList(QWidget* parent, const char* name) {
    auto* list = new QComboBox(parent);
    list->setObjectName(Q(name));
    list->setEditable(false);
    list->setMinimumWidth(160);
    return list;
}

void fill(QComboBox* list, const std::vector<std::string>& entries) {
    list->clear();
    for (const auto& entry : entries)
        list->addItem(Q(entry));
    list->setCurrentIndex(0);
}

} // namespace

SearchPanel::SearchPanel(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("tabsearch"));
    auto* layout = new QVBoxLayout(this);
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(10);
    grid->setVerticalSpacing(14);

    edtkey = new QLineEdit(this);
    edtkey->setObjectName(QStringLiteral("edtkey"));
    edtkey->setPlaceholderText(QStringLiteral("请输入要搜索的关键词，多个关键词可用逗号隔开"));
    Button1 = new QPushButton(QStringLiteral("开始搜索"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    grid->addWidget(new QLabel(QStringLiteral("关键词："), this), 0, 0);
    grid->addWidget(edtkey, 0, 1, 1, 3);
    grid->addWidget(Button1, 0, 4);

    cbopy = makeList(this, "cbopy");
    CboCity = makeList(this, "CboCity");
    grid->addWidget(new QLabel(QStringLiteral("选择省份："), this), 1, 0);
    grid->addWidget(cbopy, 1, 1);
    grid->addWidget(new QLabel(QStringLiteral("选择城市："), this), 1, 2);
    grid->addWidget(CboCity, 1, 3);

    CboJy = makeList(this, "CboJy");
    CboYg = makeList(this, "CboYg");
    CboYear = makeList(this, "CboYear");
    auto* third = new QHBoxLayout;
    third->addWidget(new QLabel(QStringLiteral("经营模式："), this));
    third->addWidget(CboJy);
    third->addSpacing(12);
    third->addWidget(new QLabel(QStringLiteral("员工人数："), this));
    third->addWidget(CboYg);
    third->addSpacing(12);
    third->addWidget(new QLabel(QStringLiteral("年营业额："), this));
    third->addWidget(CboYear);
    third->addStretch();
    grid->addLayout(third, 2, 0, 1, 5);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);

    layout->addLayout(grid);
    auto* filler = new QWidget(this);
    filler->setObjectName(QStringLiteral("pnlsearchfill"));
    layout->addWidget(filler, 1);

    connect(Button1, &QPushButton::clicked, this, &SearchPanel::submitRequested);
    connect(edtkey, &QLineEdit::returnPressed, this, &SearchPanel::submitRequested);
    connect(cbopy, &QComboBox::currentIndexChanged, this, &SearchPanel::cbopyChange);
}

void SearchPanel::LoadReferenceLists(tParam& param) {
    param_ = &param;
    fill(cbopy, param.GetData(1));
    fill(CboCity, param.GetData(2, std::string()));
    fill(CboJy, param.GetData(3));
    fill(CboYg, param.GetData(4));
    fill(CboYear, param.GetData(5));
}

void SearchPanel::cbopyChange() {
    if (param_)
        fill(CboCity, param_->GetData(2, S(cbopy->currentText())));
}

std::string SearchPanel::Keyword() const {
    return S(edtkey->text());
}

FilterChoice SearchPanel::Choice() const {
    FilterChoice choice;
    choice.province = S(cbopy->currentText());
    choice.city = S(CboCity->currentText());
    choice.provinceIndex = cbopy->currentIndex();
    choice.cityIndex = CboCity->currentIndex();
    choice.modeIndex = CboJy->currentIndex();
    choice.staffIndex = CboYg->currentIndex();
    choice.turnoverIndex = CboYear->currentIndex();
    return choice;
}

} // namespace kavo
