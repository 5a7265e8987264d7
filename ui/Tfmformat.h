#pragma once

#include <QDialog>

#include <string>

class QCheckBox;
class QRadioButton;
class QPushButton;

namespace kavo {

class ClickLabel;

// The export dialog: which fields, which file format, all records or only the new ones.
class Tfmformat : public QDialog {
    Q_OBJECT
public:
    explicit Tfmformat(QWidget* owner = nullptr);

    // Shows box "chk<iseq>" with the caption, checked, carrying the field code iseq - 1.
    void SetChkBox(int iseq, const QString& chktext);
    void Button2Click();
    void Button3Click();
    void Label3Click();

    // ",1,2,4," after "保   存"; empty until then or when nothing is chosen.
    std::string strWord;

    ClickLabel* Label3;
    QCheckBox* chk[13] = {}; // chk[1] .. chk[12]
    QRadioButton* rbexcel;
    QRadioButton* RadioButton2;
    QRadioButton* rbnews;
    QRadioButton* RadioButton3;
    QPushButton* Button2;
    QPushButton* Button3;
};

} // namespace kavo
