#pragma once

#include <QObject>
#include <QTextObjectInterface>

class QTextDocument;

namespace platform {

// Shows a document's pictures no wider than its text: a picture wider than the room
// beside its block's margins is scaled down to fit, its aspect kept; narrower ones keep
// their own size. The room is taken afresh at every layout, so when a browser sets the
// document's text width to its own width the pictures follow its resizes.
class PictureFitter : public QObject, public QTextObjectInterface {
    Q_OBJECT
    Q_INTERFACES(QTextObjectInterface)
public:
    // Puts a fitter in front of the document layout's own picture drawing; owned by
    // the layout. Installing again on the same layout does nothing.
    static void install(QTextDocument& document);

    QSizeF intrinsicSize(QTextDocument* doc, int posInDocument, const QTextFormat& format) override;
    void drawObject(QPainter* painter, const QRectF& rect, QTextDocument* doc, int posInDocument,
                    const QTextFormat& format) override;

private:
    PictureFitter(QTextObjectInterface& plain, QObject* layout);

    // The layout's own handler, which loads and draws the pictures; a sibling of this
    // one under the layout, so it lives as long.
    QTextObjectInterface& m_plain;
};

} // namespace platform
