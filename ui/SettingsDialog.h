#pragma once

#include "common/Settings.h"

#include <QDialog>

#include <vector>

class QLineEdit;
class QLabel;

namespace kavo {

// "设置": the marketplace hosts and the network keys of kavo.cfg, checked before they are written.
class SettingsDialog : public QDialog {
    Q_OBJECT
public:
    explicit SettingsDialog(QWidget* owner = nullptr);

    // The first problem with the entered values, or "" when they may be saved.
    QString Validate() const;
    // Validates and writes; false (and the problem shown in the dialog) when a value is wrong.
    bool Save();

    QLineEdit* Field(const SettingKey& key) const;
    QLabel* lblerror;

private:
    struct Row {
        SettingKey key;
        QLineEdit* edit;
    };
    std::vector<Row> rows_;
};

} // namespace kavo
