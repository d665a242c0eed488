#include "ReadingStatus.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

namespace historywindows {

namespace {

// Under this a read passes unseen; over the second the busy bar shows it goes on.
constexpr int kShowAfterMs = 150;
constexpr int kBusyAfterMs = 500;

} // namespace

ReadingStatus::ReadingStatus(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("fraReading"));
    lblReading = new QLabel;
    lblReading->setObjectName(QStringLiteral("lblReading"));
    lblReading->setAccessibleName(QStringLiteral("Reading"));
    prgReading = new QProgressBar;
    prgReading->setObjectName(QStringLiteral("prgReading"));
    prgReading->setAccessibleName(QStringLiteral("Reading the history"));
    prgReading->setRange(0, 0); // busy: how long a select takes is not known beforehand
    prgReading->setTextVisible(false);
    prgReading->setMaximumWidth(160);
    cmdCancel = new QPushButton(QStringLiteral("Cancel"));
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(lblReading);
    layout->addWidget(prgReading);
    layout->addWidget(cmdCancel);
    layout->addStretch(1);
    // The line keeps its height when empty, so the tabs above never jump.
    for (QWidget* part : {static_cast<QWidget*>(lblReading), static_cast<QWidget*>(prgReading),
                          static_cast<QWidget*>(cmdCancel)}) {
        QSizePolicy keep = part->sizePolicy();
        keep.setRetainSizeWhenHidden(true);
        part->setSizePolicy(keep);
        part->hide();
    }
    m_showDelay.setSingleShot(true);
    m_showDelay.setInterval(kShowAfterMs);
    m_busyDelay.setSingleShot(true);
    m_busyDelay.setInterval(kBusyAfterMs);
    connect(&m_showDelay, &QTimer::timeout, this, [this] {
        lblReading->show();
        cmdCancel->show();
        emit shown();
    });
    connect(&m_busyDelay, &QTimer::timeout, prgReading, &QWidget::show);
    connect(cmdCancel, &QPushButton::clicked, this, &ReadingStatus::cancelRequested);
}

void ReadingStatus::begin(const QString& what) {
    lblReading->setText(what);
    if (m_reading)
        return; // the delays run from the first read of a row of them
    m_reading = true;
    m_showDelay.start();
    m_busyDelay.start();
}

void ReadingStatus::showNotice(const QString& text) {
    end();
    lblReading->setText(text);
    lblReading->show();
}

void ReadingStatus::end() {
    m_reading = false;
    m_showDelay.stop();
    m_busyDelay.stop();
    lblReading->hide();
    prgReading->hide();
    cmdCancel->hide();
}

} // namespace historywindows
