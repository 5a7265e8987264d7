#include "ui/OptionDialogs.h"

#include "ui/ProgressWindows.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace kavo {
namespace {

QWidget* ownerOrMainWindow(QWidget* owner) {
    return owner ? owner : QApplication::activeWindow();
}

} // namespace

Tfmdiss::Tfmdiss(QWidget* owner) : QDialog(owner) {
    setObjectName(QStringLiteral("fmdiss"));
    setWindowTitle(QStringLiteral("名录去重"));
    setFixedSize(341, 146);
    auto* layout = new QVBoxLayout(this);
    auto* panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("Panel1"));
    panel->setFrameStyle(QFrame::StyledPanel);
    auto* row = new QHBoxLayout(panel);
    auto* label = new QLabel(QStringLiteral("请选择去重的字段："), panel);
    label->setObjectName(QStringLiteral("Label1"));
    ComboBox1 = new QComboBox(panel);
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    ComboBox1->addItems({QStringLiteral("电话"), QStringLiteral("公司名称")});
    ComboBox1->setCurrentIndex(0);
    row->addWidget(label);
    row->addWidget(ComboBox1, 1);
    layout->addWidget(panel);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    Button2 = new QPushButton(QStringLiteral("确  定"), this);
    Button2->setObjectName(QStringLiteral("Button2"));
    Button2->setAutoDefault(false);
    Button1 = new QPushButton(QStringLiteral("关  闭"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setDefault(true);
    buttons->addWidget(Button2);
    buttons->addWidget(Button1);
    layout->addLayout(buttons);
    connect(Button2, &QPushButton::clicked, this, &QDialog::accept);
    connect(Button1, &QPushButton::clicked, this, &QDialog::reject);
    ComboBox1->setFocus();
    CentreOver(this, ownerOrMainWindow(owner));
}

Tfmfm::Tfmfm(QWidget* owner) : QDialog(owner) {
    setObjectName(QStringLiteral("fmfm"));
    setWindowTitle(QStringLiteral("名录格式化"));
    setFixedSize(508, 229);
    auto* layout = new QVBoxLayout(this);
    auto* panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("Panel1"));
    panel->setFrameStyle(QFrame::StyledPanel);
    auto* inner = new QVBoxLayout(panel);
    auto* label1 = new QLabel(
        QStringLiteral("名录格式化针对选定的名录的[手机][电话][传真]三个字段进行格式整理。完成后"), panel);
    label1->setObjectName(QStringLiteral("Label1"));
    auto* label2 = new QLabel(QStringLiteral("每个字段格式统一。"), panel);
    label2->setObjectName(QStringLiteral("Label2"));
    CheckBox1 = new QCheckBox(QStringLiteral("去前置“0”，将[手机]前缀0去掉"), panel);
    CheckBox1->setObjectName(QStringLiteral("CheckBox1"));
    inner->addWidget(label1);
    inner->addWidget(label2);
    inner->addSpacing(12);
    inner->addWidget(CheckBox1);
    inner->addStretch();
    layout->addWidget(panel);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    Button2 = new QPushButton(QStringLiteral("确  定"), this);
    Button2->setObjectName(QStringLiteral("Button2"));
    Button1 = new QPushButton(QStringLiteral("取  消"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    buttons->addWidget(Button2);
    buttons->addWidget(Button1);
    layout->addLayout(buttons);
    connect(Button2, &QPushButton::clicked, this, &QDialog::accept);
    connect(Button1, &QPushButton::clicked, this, &QDialog::reject);
    CentreOver(this, ownerOrMainWindow(owner));
}

} // namespace kavo
