#pragma once

#include <QObject>
#include <QPointer>

class QAbstractButton;
class QKeyEvent;

namespace shell {

class MDIForm1;

// Access keys shared by a menu of the frame and a button of the record window in
// front (Alt+E: the Edit menu and the window's Edit button): the button wins, as it
// did before the menu existed. Qt would find the key ambiguous and press neither.
class ButtonKeysFirst : public QObject {
    Q_OBJECT
public:
    explicit ButtonKeysFirst(MDIForm1& frame);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The usable button of the window in front whose access key this is, when a
    // menu of the frame has the same one.
    QAbstractButton* contestedButton(const QKeyEvent& key) const;

    MDIForm1& m_frame;
    int m_swallowKey = 0; // the key press that follows a key given to a button
};

} // namespace shell
