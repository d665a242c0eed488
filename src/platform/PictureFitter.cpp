#include "PictureFitter.h"

#include <QAbstractTextDocumentLayout>
#include <QPainter>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextList>

namespace platform {

namespace {
// The width left for the content of the block at pos; zero or less when the document
// has no set text width and so no limit.
qreal roomAt(const QTextDocument& doc, int pos) {
    const qreal page = doc.textWidth();
    if (page <= 0)
        return 0;
    const QTextFrameFormat root = doc.rootFrame()->frameFormat();
    qreal used = root.leftMargin() + root.rightMargin() + 2 * (root.border() + root.padding());
    const QTextBlock block = doc.findBlock(pos);
    const QTextBlockFormat format = block.blockFormat();
    used += format.leftMargin() + format.rightMargin() + format.indent() * doc.indentWidth() +
            qMax<qreal>(0, format.textIndent());
    if (const QTextList* list = block.textList())
        used += list->format().indent() * doc.indentWidth();
    return qMax<qreal>(1, page - used);
}
} // namespace

PictureFitter::PictureFitter(QTextObjectInterface& plain, QObject* layout)
    : QObject(layout), m_plain(plain) {}

void PictureFitter::install(QTextDocument& document) {
    QAbstractTextDocumentLayout* layout = document.documentLayout();
    QTextObjectInterface* current = layout->handlerForObject(QTextFormat::ImageObject);
    if (!current || dynamic_cast<PictureFitter*>(current))
        return;
    layout->registerHandler(QTextFormat::ImageObject, new PictureFitter(*current, layout));
}

QSizeF PictureFitter::intrinsicSize(QTextDocument* doc, int posInDocument,
                                    const QTextFormat& format) {
    const QSizeF size = m_plain.intrinsicSize(doc, posInDocument, format);
    const qreal room = roomAt(*doc, posInDocument);
    if (room <= 0 || size.width() <= room)
        return size;
    return {room, size.height() * room / size.width()};
}

void PictureFitter::drawObject(QPainter* painter, const QRectF& rect, QTextDocument* doc,
                               int posInDocument, const QTextFormat& format) {
    // A shrunken screenshot stays readable only when smoothed.
    painter->save();
    painter->setRenderHint(QPainter::SmoothPixmapTransform);
    m_plain.drawObject(painter, rect, doc, posInDocument, format);
    painter->restore();
}

} // namespace platform
