#include "MsgBoxRecorder.h"

namespace testing_support {

MsgBoxRecorder::MsgBoxRecorder() {
    m_previous = platform::setMsgBoxResponder(
        [this](const QString& prompt, int style, const QString& title) {
            m_boxes.append({prompt, style, title});
            if (!m_answers.empty()) {
                const int answer = m_answers.front();
                m_answers.pop_front();
                return answer;
            }
            return (style & 0x7) == platform::vbYesNo ? int(platform::vbYes) : int(platform::vbOK);
        });
}

MsgBoxRecorder::~MsgBoxRecorder() {
    platform::setMsgBoxResponder(std::move(m_previous));
}

} // namespace testing_support
