#pragma once
// Shown while a scan runs: a small busy indicator, how many files were
// found so far, and Stop.

#include <QWidget>

class QLabel;

namespace mirelo {

class AppModel;

class ScanProgressBar : public QWidget {
    Q_OBJECT
public:
    explicit ScanProgressBar(AppModel& model, QWidget* parent = nullptr);
    QString text() const;

private:
    void refresh();

    AppModel& model_;
    QLabel* label_;
};

} // namespace mirelo
