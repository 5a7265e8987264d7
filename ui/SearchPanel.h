#pragma once

#include "store/TaskSubmission.h"

#include <QWidget>

class QComboBox;
class QLineEdit;
class QPushButton;

namespace kavo {

class tParam;

// The search tab "名录搜索": keyword, the five filter lists and "开始搜索".
class SearchPanel : public QWidget {
    Q_OBJECT
public:
    explicit SearchPanel(QWidget* parent);

    // Fills the five lists from the reference lists, each at its first entry "不限".
    void LoadReferenceLists(tParam& param);
    void cbopyChange();

    std::string Keyword() const;
    FilterChoice Choice() const;

    QLineEdit* edtkey;
    QPushButton* Button1;
    QComboBox* cbopy;
    QComboBox* CboCity;
    QComboBox* CboJy;
    QComboBox* CboYg;
    QComboBox* CboYear;

Q_SIGNALS:
    void submitRequested();

private:
    tParam* param_ = nullptr;
};

} // namespace kavo
