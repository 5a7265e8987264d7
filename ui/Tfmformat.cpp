#include "ui/Tfmformat.h"

#include "common/Global.h"
#include "ui/ClickLabel.h"
#include "ui/ProgressWindows.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace kavo {
namespace {

const char* kTagProperty = "kavoTag";

} // namespace

Tfmformat::Tfmformat(QWidget* owner) : QDialog(owner, Qt::Tool) {
    setObjectName(QStringLiteral("fmformat"));
    setWindowTitle(QStringLiteral("导出格式选择"));
    resize(404, 259);
    auto* layout = new QVBoxLayout(this);

    auto* head = new QHBoxLayout;
    auto* label1 = new QLabel(QStringLiteral("选择字段："), this);
    label1->setObjectName(QStringLiteral("Label1"));
    Label3 = new ClickLabel(QStringLiteral("全选"), this);
    Label3->setObjectName(QStringLiteral("Label3"));
    Label3->setStyleSheet(QStringLiteral("QLabel { color: #0000FF; }"));
    Label3->setProperty(kTagProperty, 0);
    head->addWidget(label1);
    head->addStretch();
    head->addWidget(Label3);
    layout->addLayout(head);

    // chk2..chk6 the first row, chk7..chk11 the second, chk12 a third; chk1 is never shown.
    auto* grid = new QGridLayout;
    for (int i = 1; i <= 12; ++i) {
        chk[i] = new QCheckBox(this);
        chk[i]->setObjectName(QStringLiteral("chk%1").arg(i));
        chk[i]->setVisible(false);
        chk[i]->setProperty(kTagProperty, -1);
        if (i >= 2)
            grid->addWidget(chk[i], (i - 2) / 5, (i - 2) % 5);
    }
    layout->addLayout(grid);

    auto* formatRow = new QHBoxLayout;
    auto* label2 = new QLabel(QStringLiteral("保存格式："), this);
    label2->setObjectName(QStringLiteral("Label2"));
    rbexcel = new QRadioButton(QStringLiteral("Excel格式"), this);
    rbexcel->setObjectName(QStringLiteral("rbexcel"));
    rbexcel->setChecked(true);
    RadioButton2 = new QRadioButton(QStringLiteral("文本格式"), this);
    RadioButton2->setObjectName(QStringLiteral("RadioButton2"));
    formatRow->addWidget(label2);
    formatRow->addWidget(rbexcel);
    formatRow->addWidget(RadioButton2);
    formatRow->addStretch();
    layout->addLayout(formatRow);

    auto* group = new QGroupBox(QStringLiteral("导出方式"), this);
    group->setObjectName(QStringLiteral("GroupBox1"));
    auto* groupRow = new QHBoxLayout(group);
    rbnews = new QRadioButton(QStringLiteral("只导出新采集数据"), group);
    rbnews->setObjectName(QStringLiteral("rbnews"));
    rbnews->setChecked(true);
    RadioButton3 = new QRadioButton(QStringLiteral("全部导出"), group);
    RadioButton3->setObjectName(QStringLiteral("RadioButton3"));
    groupRow->addWidget(rbnews);
    groupRow->addWidget(RadioButton3);
    layout->addWidget(group);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    Button2 = new QPushButton(QStringLiteral("保   存"), this);
    Button2->setObjectName(QStringLiteral("Button2"));
    Button3 = new QPushButton(QStringLiteral("取   消"), this);
    Button3->setObjectName(QStringLiteral("Button3"));
    buttons->addWidget(Button2);
    buttons->addWidget(Button3);
    layout->addLayout(buttons);

    connect(Label3, &ClickLabel::clicked, this, &Tfmformat::Label3Click);
    connect(Button2, &QPushButton::clicked, this, &Tfmformat::Button2Click);
    connect(Button3, &QPushButton::clicked, this, &Tfmformat::Button3Click);
    CentreOver(this, owner);
}

void Tfmformat::SetChkBox(int iseq, const QString& chktext) {
    if (iseq < 1 || iseq > 12)
        return;
    chk[iseq]->setVisible(true);
    chk[iseq]->setText(chktext);
    chk[iseq]->setChecked(true);
    chk[iseq]->setProperty(kTagProperty, iseq - 1);
}

void Tfmformat::Button2Click() {
    strWord.clear();
    for (int i = 1; i <= 12; ++i)
        if (chk[i]->isChecked())
            AppendWithSep(strWord, std::to_string(chk[i]->property(kTagProperty).toInt()), ",");
    if (!strWord.empty())
        strWord = "," + strWord + ",";
    accept();
}

void Tfmformat::Button3Click() {
    reject();
}

void Tfmformat::Label3Click() {
    const bool check = Label3->property(kTagProperty).toInt() == 1;
    for (int i = 2; i <= 12; ++i)
        chk[i]->setChecked(check);
    Label3->setProperty(kTagProperty, check ? 0 : 1);
}

} // namespace kavo
