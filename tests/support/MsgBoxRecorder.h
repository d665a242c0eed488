#pragma once

#include "platform/MsgBox.h"

#include <QList>
#include <QString>
#include <deque>

namespace testing_support {

// One message box as the program asked for it.
struct RecordedBox {
    QString prompt;
    int style = 0;
    QString title;
};

// Installs itself as the message-box seam for its lifetime: records every box and
// answers from a script (Yes/No boxes default to Yes, the others to OK). Recorders
// nest: the one made last answers, and the one before is back when it goes.
class MsgBoxRecorder {
public:
    MsgBoxRecorder();
    ~MsgBoxRecorder();
    MsgBoxRecorder(const MsgBoxRecorder&) = delete;
    MsgBoxRecorder& operator=(const MsgBoxRecorder&) = delete;

    void answerNext(int button) { m_answers.push_back(button); }
    const QList<RecordedBox>& boxes() const { return m_boxes; }
    int count() const { return int(m_boxes.size()); }
    const RecordedBox& last() const { return m_boxes.back(); }
    void clear() { m_boxes.clear(); }

private:
    QList<RecordedBox> m_boxes;
    std::deque<int> m_answers;
    platform::MsgBoxResponder m_previous;
};

} // namespace testing_support
