#pragma once

#include <QTimer>
#include <QWidget>

class QLabel;
class QProgressBar;
class QPushButton;

namespace historywindows {

// The line beneath the tabs while the history is being read: "Reading..." with a
// Cancel button, and a busy bar once it takes a while. A read that ends quickly
// (one vehicle's few rows) shows nothing, so the window does not flicker.
class ReadingStatus : public QWidget {
    Q_OBJECT
public:
    explicit ReadingStatus(QWidget* parent = nullptr);

    // What is being read ("Reading the fuel log..."); shown after a short delay.
    void begin(const QString& what);
    void end();
    // A line that stays until the next read ("Reading cancelled.").
    void showNotice(const QString& text);
    bool isReading() const { return m_reading; }

    QLabel* lblReading;
    QProgressBar* prgReading;
    QPushButton* cmdCancel;

signals:
    void cancelRequested();
    // The delay passed with the read still going: the window now shows it reads.
    void shown();

private:
    QTimer m_showDelay;
    QTimer m_busyDelay;
    bool m_reading = false;
};

} // namespace historywindows
