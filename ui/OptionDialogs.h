#pragma once

#include <QDialog>

class QCheckBox;
class QComboBox;
class QPushButton;

namespace kavo {

// "名录去重": the key to de-duplicate by. "关  闭" is the default button, so Enter cancels.
class Tfmdiss : public QDialog {
    Q_OBJECT
public:
    explicit Tfmdiss(QWidget* owner = nullptr);
    QComboBox* ComboBox1;
    QPushButton* Button2;
    QPushButton* Button1;
};

// "名录格式化": whether to drop the mobile number's leading "0".
class Tfmfm : public QDialog {
    Q_OBJECT
public:
    explicit Tfmfm(QWidget* owner = nullptr);
    QCheckBox* CheckBox1;
    QPushButton* Button2;
    QPushButton* Button1;
};

} // namespace kavo
